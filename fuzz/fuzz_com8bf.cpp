// The resource-section reader and the PE header facts on any bytes, as a .8bf and as a
// Mac-size .bin.

#include <cstddef>
#include <cstdint>

#include "core/plugins/pe_header.h"
#include "core/plugins/read_com8bf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ByteView bytes(data, size);
  auto table = qm::plugins::ReadCom8bfBytes(bytes, "fuzz.8bf", {});
  std::size_t total = 0;
  for (const auto& f : table.filters) total += f.category.size() + f.title.size() + f.room;
  auto file = qm::plugins::FileBytes::fromMemory(bytes);
  auto arch = qm::plugins::peArchitecture(file);
  const bool code = qm::plugins::peHoldsCode(file);
  return static_cast<int>((total + (arch ? arch->size() : 0) + code) & 0);
}
