// The Premiere window search on any bytes.

#include <cstddef>
#include <cstdint>

#include "core/plugins/read_comprm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto result = qm::plugins::ReadComprmBytes(qm::ByteView(data, size));
  return static_cast<int>((result.filter.category.size() + result.filter.title.size()) & 0);
}
