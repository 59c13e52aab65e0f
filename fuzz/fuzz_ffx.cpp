// ReadFFXBytes over arbitrary bytes.

#include <cstddef>
#include <cstdint>

#include "core/ff/sources.h"
#include "fuzz_source_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ff::FFRecord rec;
  qm::ff::ReadFFXBytes(qm::ByteView(data, size), "fuzz.ffx", rec);
  volatile std::size_t sink = qm::ff::fuzz::touchRecord(rec);
  (void)sink;
  return 0;
}
