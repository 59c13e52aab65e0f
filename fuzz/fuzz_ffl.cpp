// Library readers over arbitrary bytes: the index, every entry by byte access, and the
// whole file read as text.

#include <cstddef>
#include <cstdint>

#include "core/ff/ffl.h"
#include "core/ff/ffl_writer.h"

namespace {

// Touches every byte of the record so the sanitizers see any bad text.
std::size_t touch(const qm::ff::FFRecord& rec) {
  std::size_t sum = rec.photoshopDialect;
  auto add = [&](const std::string& s) {
    for (char c : s) sum += static_cast<unsigned char>(c);
  };
  for (const auto* s : {&rec.fileName, &rec.category, &rec.title, &rec.copyright, &rec.author})
    add(*s);
  for (const auto& s : rec.controlNames) add(s);
  for (const auto& s : rec.mapNames) add(s);
  for (const auto& s : rec.formulas) add(s);
  for (auto v : rec.sliderValues) sum += v;
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ByteView bytes(data, size);
  volatile std::size_t sink = 0;

  if (auto index = qm::ff::IndexFFL(bytes)) {
    for (const auto& entry : index->entries) {
      qm::ff::ByteCursor cursor(bytes, entry.position);
      qm::ff::FFRecord rec;
      qm::ff::ReadFFLEntryII(cursor, rec);
      sink = sink + touch(rec) + entry.title.size() + entry.placeholder;
    }
    if (auto last = qm::ff::LoadFFLEntry(bytes, index->entries.size())) sink = sink + touch(*last);
    // Add to FFL keeps what it read of the library byte for byte.
    if (auto added = qm::ff::fflWithAddedEntries(bytes, {qm::ff::FFRecord{}}))
      sink = sink + added->size();
  }

  qm::ff::FFLTextReader reader(bytes);
  if (qm::ff::isFFLHeader(reader.nextLine())) {
    sink = sink + qm::ff::lenientNumber(reader.nextLine(), 1u << 30);
    while (!reader.atEnd()) {
      qm::ff::FFRecord rec;
      qm::ff::ReadFFLEntry(reader, rec);
      sink = sink + touch(rec);
    }
  }
  return 0;
}
