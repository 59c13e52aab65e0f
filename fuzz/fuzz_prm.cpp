// Readprm and ReadTF on the input as a whole file, and on the input laid over a file of each
// Premiere size around the marker bytes, so every variant's fields see hostile bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ff/premiere_reader.h"
#include "fuzz_source_common.h"

namespace {

using namespace qm::ff;

constexpr std::array<std::size_t, 4> kSizes = {50176, 50688, 53248, 51200};
// Marker bytes and signatures of both kinds, and the blocks behind them.
constexpr std::array<std::size_t, 8> kAnchors = {28870, 29016, 29076, 29360,
                                                 32020, 21516, 22028, 25100};

void readAllWays(qm::ByteView bytes) {
  FFOptions options;
  for (bool namesOnly : {false, true}) {
    FFRecord rec;
    ReadprmBytes(bytes, "fuzz.prm", rec, namesOnly, true, options);
    volatile std::size_t sink = qm::ff::fuzz::touchRecord(rec);
    ReadTFBytes(bytes, "fuzz.prm", rec, namesOnly, options);
    sink = sink + qm::ff::fuzz::touchRecord(rec);
    (void)sink;
  }
  (void)PremiereFFOffset(bytes);
  (void)TransitionOffset(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  readAllWays(qm::ByteView(data, size));
  if (size < 2) return 0;
  std::vector<std::uint8_t> file(kSizes[data[0] % kSizes.size()], 0);
  std::size_t start = kAnchors[data[1] % kAnchors.size()];
  for (std::size_t i = 2; i < size && start + i - 2 < file.size(); ++i)
    file[start + i - 2] = data[i];
  readAllWays(qm::ByteView(file.data(), file.size()));
  return 0;
}
