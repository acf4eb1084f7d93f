/* A host of the playback driver as a plain C API (libtaphost.so): it creates
 * the per-process region, loads the driver, and opens sessions on recordings,
 * so that hosts in other languages need none of the driver's boundary.
 *
 * Every call returns a status. Non-negative statuses are the driver's own,
 * passed through unchanged (0 success, 15 nothing recorded for the call, ...;
 * see varnel.h). The API's own failures are the negative TAPHOST_E_ values.
 * Nothing is raised across the boundary; a null pointer where an object is
 * needed gives TAPHOST_E_NULL_ARGUMENT. Texts are zero-terminated bytes. */
#ifndef TAPLAYBACK_HOST_H
#define TAPLAYBACK_HOST_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(TAPHOST_BUILDING)
#define TAPHOST_API __declspec(dllexport)
#elif defined(_WIN32)
#define TAPHOST_API __declspec(dllimport)
#else
#define TAPHOST_API __attribute__((visibility("default")))
#endif

enum TapHostError {
  TAPHOST_E_NULL_ARGUMENT = -1,   /* a required pointer was null */
  TAPHOST_E_BAD_HANDLE = -2,      /* the host or session is not one this library gave out */
  TAPHOST_E_DRIVER = -3,          /* the driver could not be loaded or lacks an entry */
  TAPHOST_E_REGION = -4,          /* the per-process region could not be created */
  TAPHOST_E_BAD_ARGUMENT = -5,    /* a text too long for the region, a bad resource name */
  TAPHOST_E_FAILED = -6           /* anything else; the last-error text says what */
};

/* The default read and write timeout of a new session, in milliseconds. */
#define TAPHOST_DEFAULT_TIMEOUT_MS 2000
/* A negative timeout or 0 means no emulated wait; this one means no limit. */
#define TAPHOST_TIMEOUT_INFINITE INT32_MAX

typedef struct taphost taphost;
typedef struct taphost_session taphost_session;

/* Loads the driver at driver_path (NULL: libtaplayback.so beside
 * libtaphost.so) and stores a new host in *host (NULL on failure). The
 * region is shared by every host of the process. When error is not NULL,
 * the reason of a failure is written there, cut to error_size bytes. */
TAPHOST_API int32_t taphost_create(const char* driver_path, taphost** host, char* error,
                                   size_t error_size);

/* Closes the host's sessions that are still open, then the host. NULL is allowed. */
TAPHOST_API void taphost_free(taphost* host);

/* What the last failed call on this host or one of its sessions said; ""
 * after a success. Valid until the next call on the host. NULL host: the
 * text of the last failed taphost_create of this thread. */
TAPHOST_API const char* taphost_last_error(const taphost* host);

/* Opens a session on the recording at the six address values. kind and
 * resource_class are what the region announces ("gpib", "instr"); address,
 * bracket and colon may be NULL (empty). The stream search of a recording
 * starts where the last open of the same recording through this host left
 * it. On a non-zero status *session is NULL. */
TAPHOST_API int32_t taphost_open(taphost* host, const char* recording, const char* kind,
                                 const char* resource_class, const char* address,
                                 uint32_t primary, uint32_t secondary, uint32_t protocol,
                                 const char* bracket, const char* colon,
                                 taphost_session** session);

/* The same with the values a VISA resource name gives ("GPIB0::22::INSTR"). */
TAPHOST_API int32_t taphost_open_resource(taphost* host, const char* recording,
                                          const char* resource_name, taphost_session** session);

/* Closes the session and frees it. NULL is allowed. */
TAPHOST_API int32_t taphost_close(taphost_session* session);

/* Session settings, passed to every later call. */
TAPHOST_API int32_t taphost_set_timeout(taphost_session* session, int32_t timeout_ms);
TAPHOST_API int32_t taphost_set_flags(taphost_session* session, uint32_t write_flags,
                                      uint32_t read_flags);
TAPHOST_API int32_t taphost_set_termination(taphost_session* session, uint8_t termination);

/* actual may be NULL. */
TAPHOST_API int32_t taphost_write(taphost_session* session, const uint8_t* bytes, uint32_t count,
                                  uint32_t* actual);

/* Stop reason 1: count reached, more to come; otherwise the recorded reason
 * (2: end of message by convention). actual and stop_reason may be NULL. */
TAPHOST_API int32_t taphost_read(taphost_session* session, uint8_t* buffer, uint32_t count,
                                 uint32_t* actual, int32_t* stop_reason);

/* The answer's bytes are copied over the start of data (size bytes). */
TAPHOST_API int32_t taphost_docommand(taphost_session* session, uint32_t flags, uint32_t command,
                                      int32_t size, uint8_t* data);

/* Resource names of a recording's streams, in file order, separated by "\n".
 * A stream that no resource name opens is listed as an empty line. Writes
 * at most size bytes with a terminating zero and stores the whole length
 * (without the zero) in *needed; a status other than 0 when the recording
 * cannot be read as a playback file (the last-error text says why). */
TAPHOST_API int32_t taphost_list_resources(taphost* host, const char* recording, char* names,
                                           size_t size, size_t* needed);

#ifdef __cplusplus
}
#endif

#endif /* TAPLAYBACK_HOST_H */
