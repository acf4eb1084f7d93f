/* The Varnel interface-driver boundary of the playback driver, as a host
 * sees it: the two records the entry export fills, the entry signatures and
 * the status values the driver produces. Plain C so any host can include it. */
#ifndef TAPLAYBACK_VARNEL_H
#define TAPLAYBACK_VARNEL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Driver record: the host owns it; the driver writes only the 14 slots. */
#define VARNEL_DRIVER_RECORD_MIN_SIZE 384
#define VARNEL_DRIVER_SLOTS_OFFSET 272
#define VARNEL_DRIVER_SLOT_COUNT 14

/* Driver information record: the driver writes the name and the kind. */
#define VARNEL_INFO_RECORD_MIN_SIZE 76
#define VARNEL_INFO_NAME_OFFSET 36
#define VARNEL_INFO_NAME_SIZE 32
#define VARNEL_INFO_KIND_OFFSET 72
#define VARNEL_DRIVER_NAME "Tarvena SR Playback Engine"
#define VARNEL_DRIVER_KIND 6u

enum VarnelSlot {
  VARNEL_SLOT_OPEN = 0,
  VARNEL_SLOT_CLOSE = 1,
  VARNEL_SLOT_WRITE = 2,
  VARNEL_SLOT_READ = 3,
  VARNEL_SLOT_DOCOMMAND = 4,
  VARNEL_SLOT_UNUSED_5 = 5,
  VARNEL_SLOT_UNUSED_6 = 6,
  VARNEL_SLOT_LOCK = 7,
  VARNEL_SLOT_UNLOCK = 8,
  VARNEL_SLOT_NOOP_9 = 9,
  VARNEL_SLOT_NOOP_10 = 10,
  VARNEL_SLOT_NOOP_11 = 11,
  VARNEL_SLOT_UNUSED_12 = 12,
  VARNEL_SLOT_NOOP_13 = 13
};

/* Statuses the driver produces itself; recorded return values pass through. */
enum VarnelStatus {
  VARNEL_OK = 0,
  VARNEL_NO_DOCOMMAND_MATCH = 8,
  VARNEL_NO_PLAYBACK_FILE = 9,
  VARNEL_NOT_LOCKED = 12,
  VARNEL_UNKNOWN_STIMULUS = 15,
  VARNEL_NO_STREAM_FOR_ADDRESS = 20,
  VARNEL_BAD_PLAYBACK_FILE = 24,
  VARNEL_INTERNAL_ERROR = 128
};

typedef void* VarnelSession;

typedef int32_t (*VarnelOpenFn)(const char* address, uint32_t primary, uint32_t secondary,
                                uint32_t protocol, const char* bracket, const char* colon,
                                uint64_t extra, VarnelSession* session);
typedef int32_t (*VarnelCloseFn)(VarnelSession session);
typedef int32_t (*VarnelWriteFn)(VarnelSession session, uint32_t flags, int32_t timeout,
                                 const uint8_t* buffer, uint32_t count, uint32_t* actual);
typedef int32_t (*VarnelReadFn)(VarnelSession session, uint32_t flags, int32_t timeout,
                                uint8_t termination, uint8_t* buffer, uint32_t count,
                                uint32_t* actual, int32_t* stop_reason);
typedef int32_t (*VarnelDoCommandFn)(VarnelSession session, uint32_t flags, int32_t timeout,
                                     uint32_t command, int32_t size, int32_t extra, uint8_t* data);
typedef int32_t (*VarnelLockFn)(VarnelSession session);
typedef int32_t (*VarnelUnlockFn)(VarnelSession session);
/* The no-op slots ignore whatever the host passes. */
typedef int32_t (*VarnelNoOpFn)(void);

/* Both exports fill the records identically and return 0. */
typedef int32_t (*VarnelGetEntryFn)(void* driver_record, void* info_record);
#define VARNEL_ENTRY_EXPORT "TAPlayback_getentry"
#define VARNEL_ENTRY_EXPORT_SHORT "TAPlaybk_getentry"

#ifdef __cplusplus
}
#endif

#endif /* TAPLAYBACK_VARNEL_H */
