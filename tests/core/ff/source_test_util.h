#pragma once
// Helpers for the source reader and writer tests.

#include <cstdint>
#include <string>

#include "core/common/byte_view.h"

namespace qm::ff::test {

inline ByteView viewOf(const std::string& bytes) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace qm::ff::test
