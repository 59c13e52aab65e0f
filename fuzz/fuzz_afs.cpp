// ReadAFSBytes over arbitrary bytes, with and without optimisation.

#include <cstddef>
#include <cstdint>

#include "core/ff/sources.h"
#include "fuzz_source_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ByteView bytes(data, size);
  for (bool noOptimize : {false, true}) {
    qm::ff::FFOptions options;
    options.noOptimize = noOptimize;
    qm::ff::FFRecord rec;
    qm::ff::ReadAFSBytes(bytes, "fuzz.afs", rec, options);
    volatile std::size_t sink = qm::ff::fuzz::touchRecord(rec);
    (void)sink;
  }
  return 0;
}
