#pragma once

#include <cstdint>
#include <string>

namespace pomvella {

// One 32-byte directory record of the pack index:
//   offset  size  field
//   0       24    name, single-byte characters, ends at the first NUL (or fills the field)
//   24      4     offset of the entry in the data file, signed
//   28      4     size of the entry in bytes, signed
struct PackEntry {
    std::string name;
    std::int32_t offset = 0;
    std::int32_t size = 0;
};

}  // namespace pomvella
