#pragma once
#include <cstdint>

#include "taplayback/varnel.h"

namespace tap {

// Writes the 14 entry slots and the driver's name and kind into the host's
// records, touching no other byte of them.
std::int32_t fill_entry_records(void* driver_record, void* info_record);

}  // namespace tap
