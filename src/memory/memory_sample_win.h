#pragma once
// The memory sample as the system reports it.

#include "memory/memory_status.h"

namespace kelvane {

// The memory reading every tick and every release starts from.
MemorySample readMemorySample();

}  // namespace kelvane
