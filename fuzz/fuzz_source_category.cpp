// Change Category on source bytes: the first byte picks .afs, .pff or .txt, the rest is the
// file. Whatever the bytes, a rewrite that is returned must read back as the same filter.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/ff/source_category.h"
#include "core/ff/sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr qm::ff::InputKind kKinds[] = {qm::ff::InputKind::Afs, qm::ff::InputKind::Pff,
                                                 qm::ff::InputKind::Text};
  const auto kind = kKinds[data[0] % 3];
  qm::ByteView bytes(data + 1, size - 1);
  qm::ff::FFOptions options;
  auto changed = qm::ff::withSourceCategory(bytes, kind, "fuzz.afs", "Fuzz Cat", options);
  if (!changed) return 0;
  qm::ff::FFRecord rec;
  const qm::ByteView view(*changed);
  const bool read = kind == qm::ff::InputKind::Afs   ? ReadAFSBytes(view, "fuzz.afs", rec, options)
                    : kind == qm::ff::InputKind::Pff ? ReadPFFBytes(view, "fuzz.afs", rec, options)
                                                     : ReadTXTBytes(view, "fuzz.afs", rec, options);
  if (!read || rec.category != "Fuzz Cat") std::abort();
  return 0;
}
