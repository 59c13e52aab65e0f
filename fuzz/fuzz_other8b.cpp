// Type-table identification: the first bytes choose a table entry text and a file name, the
// rest is the file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/plugins/other8b.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ByteView all(data, size);
  std::size_t entryLength = all.u8(0).value_or(0) % 48;
  std::size_t nameLength = all.u8(1).value_or(0) % 32;
  std::string entry(reinterpret_cast<const char*>(all.sub(2, entryLength).data()),
                    all.sub(2, entryLength).size());
  auto nameBytes = all.sub(2 + entryLength, nameLength);
  std::string name(reinterpret_cast<const char*>(nameBytes.data()), nameBytes.size());
  auto table = qm::plugins::makeTypeTable(
      {{entry, true}, {"Lightwave Plugin (p|3)", true}, {"PS Export Plugin (8be|1)", true}});
  auto result = qm::plugins::ReadOther8bBytes(all.sub(2 + entryLength + nameLength), name, table);
  return static_cast<int>((result.category.size() + result.name.size() + table.pattern().size()) &
                          0);
}
