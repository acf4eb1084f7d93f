#pragma once
#include <mutex>

namespace tap::os {

// Serialises whole worker requests. A plain mutex: requests never nest.
using RequestLock = std::mutex;

}  // namespace tap::os
