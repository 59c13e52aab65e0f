// The zip reader over arbitrary bytes: the directory, every member unpacked, and the
// extraction plan of the names.

#include <cstddef>
#include <cstdint>

#include "core/outside/zip_archive.h"
#include "core/outside/zip_extract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ByteView bytes(data, size);
  volatile std::size_t sink = 0;
  auto members = qm::outside::readZipDirectory(bytes);
  if (!members) return 0;
  for (const auto& m : *members) {
    if (auto unpacked = qm::outside::unpackZipMember(bytes, m))
      for (auto b : *unpacked) sink = sink + b;
    sink = sink + qm::outside::zipMemberDate(m).size();
  }
  for (const auto& planned : qm::outside::planExtraction(*members))
    sink = sink + planned.relative.string().size() + planned.refusal.size();
  return 0;
}
