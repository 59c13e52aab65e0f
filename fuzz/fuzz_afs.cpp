// ReadAFSBytes over arbitrary bytes, with and without optimisation.

#include <cstddef>
#include <cstdint>

#include "core/ff/sources.h"
#include "fuzz_source_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::ByteView bytes(data, size);
  qm::ff::fuzz::readWithAndWithoutOptimising(
      [bytes](qm::ff::FFRecord& rec, const qm::ff::FFOptions& options) {
        qm::ff::ReadAFSBytes(bytes, "fuzz.afs", rec, options);
      });
  return 0;
}
