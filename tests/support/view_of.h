#pragma once
// Test bytes held in a string, seen the way the readers take them.

#include <cstdint>
#include <string>

#include "core/common/byte_view.h"

namespace qm::test {

inline ByteView viewOf(const std::string& bytes) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace qm::test
