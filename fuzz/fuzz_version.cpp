// The raw version-string scan on any bytes, for every key.

#include <cstddef>
#include <cstdint>

#include "core/plugins/version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using qm::plugins::VersionKey;
  std::size_t total = 0;
  for (auto key : {VersionKey::FileDescription, VersionKey::InternalName, VersionKey::ProductName})
    total += qm::plugins::ReadVersionRessourceBytes(qm::ByteView(data, size), key).size();
  return static_cast<int>(total & 0);
}
