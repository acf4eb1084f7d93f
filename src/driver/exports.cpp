// The library's only exported symbols: everything else is reached through
// the entry table that these fill.
#include "driver/entries.h"

#ifdef _WIN32
#define TAP_EXPORT extern "C"  // exported by the .def file
#else
#define TAP_EXPORT extern "C" __attribute__((visibility("default")))
#endif

TAP_EXPORT std::int32_t TAPlayback_getentry(void* driver_record, void* info_record) {
  return tap::fill_entry_records(driver_record, info_record);
}

TAP_EXPORT std::int32_t TAPlaybk_getentry(void* driver_record, void* info_record) {
  return TAPlayback_getentry(driver_record, info_record);
}
