// decodeTga on hostile bytes: every header field, colour map and run packet.

#include <cstddef>
#include <cstdint>

#include "core/host/tga_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto image = qm::host::decodeTga(qm::ByteView(data, size), 1u << 22);
  if (image && !image->valid()) __builtin_trap();
  return 0;
}
