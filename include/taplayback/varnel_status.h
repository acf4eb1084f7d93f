/* Names of the statuses the driver produces, for logs and tools. The list
 * names the constants of varnel.h, so their values are kept in one place;
 * recorded return values outside it have no name. */
#ifndef TAPLAYBACK_VARNEL_STATUS_H
#define TAPLAYBACK_VARNEL_STATUS_H

#include "taplayback/varnel.h"

/* X(constant, name): one entry per VarnelStatus constant. */
#define VARNEL_STATUS_LIST(X)                        \
  X(VARNEL_OK, ok)                                   \
  X(VARNEL_NO_DOCOMMAND_MATCH, no_docommand_match)   \
  X(VARNEL_NO_PLAYBACK_FILE, no_playback_file)       \
  X(VARNEL_NOT_LOCKED, not_locked)                   \
  X(VARNEL_UNKNOWN_STIMULUS, unknown_stimulus)       \
  X(VARNEL_NO_STREAM_FOR_ADDRESS, no_stream_for_address) \
  X(VARNEL_BAD_PLAYBACK_FILE, bad_playback_file)     \
  X(VARNEL_INTERNAL_ERROR, internal_error)

#ifdef __cplusplus
extern "C" {
#endif

/* The status's name, or a null pointer for a value the driver never
 * produces itself. */
static inline const char* varnel_status_name(int32_t status) {
  switch (status) {
#define VARNEL_STATUS_NAME_CASE(constant, name) \
  case constant:                                \
    return #name;
    VARNEL_STATUS_LIST(VARNEL_STATUS_NAME_CASE)
#undef VARNEL_STATUS_NAME_CASE
    default:
      return 0;
  }
}

#ifdef __cplusplus
}

/* Does not compile (-Wswitch) when a VarnelStatus constant is missing from
 * the list above. */
constexpr bool varnel_status_listed(VarnelStatus status) {
  switch (status) {
#define VARNEL_STATUS_LISTED_CASE(constant, name) \
  case constant:                                  \
    return true;
    VARNEL_STATUS_LIST(VARNEL_STATUS_LISTED_CASE)
#undef VARNEL_STATUS_LISTED_CASE
  }
  return false;
}
#endif

#endif /* TAPLAYBACK_VARNEL_STATUS_H */
