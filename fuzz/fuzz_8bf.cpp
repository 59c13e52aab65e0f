// Read8bfBytes on the input as a whole file, and on the input laid over a plugin of every known
// size (signature in place) so the field readers see hostile bytes too. Every flag is on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ff/plugin_reader.h"
#include "core/ff/plugin_template.h"
#include "core/ff/template_layout.h"
#include "fuzz_source_common.h"

namespace {

using namespace qm::ff;

struct Variant {
  std::size_t size;
  std::size_t signature;
  std::size_t block;  // V
  std::size_t menu;   // the menu title's length byte
};

constexpr std::array<Variant, 7> kVariants = {{
    {49152, 21024, 31260 - 7168, 31010 - 7168},
    {49664, 21024, 31260 - 4668, 34926},
    {50176, 21024, 31260 - 5096, 26516},
    {53760, 27696, 31260 - 576, 30350},
    {57344, 28208, 31260, 31010},
    {99712, 59017, 50568, 49852},
    {99840, 59017, 50568, 49852},
}};

constexpr std::array<const char*, 3> kSignatures = {"Filter Factory", "Filter-Factory",
                                                    " FilterFactory"};

void readAllWays(qm::ByteView bytes) {
  FFOptions options;
  for (bool namesOnly : {false, true}) {
    FFRecord rec;
    Read8bfBytes(bytes, "fuzz.8bf", rec, namesOnly, true, options);
    volatile std::size_t sink = qm::ff::fuzz::touchRecord(rec);
    (void)sink;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  readAllWays(qm::ByteView(data, size));
  if (size < 2) return 0;

  const Variant& v = kVariants[data[0] % kVariants.size()];
  std::vector<std::uint8_t> file;
  if (v.size == layout::kSize30 || v.size == layout::kSize304)
    file =
        BuildTemplatePlugin(v.size == layout::kSize30 ? TemplateKind::FF30 : TemplateKind::FF304);
  else
    file.assign(v.size, 0);
  const bool mac = v.size >= layout::kSizeMacA;
  const char* signature = mac ? "Factory" : kSignatures[(data[1] >> 4) % kSignatures.size()];
  std::size_t at = v.signature;
  for (const char* c = signature; *c; ++c) file[at++] = static_cast<std::uint8_t>(*c);
  file[at] = 0;

  // The payload lands on the menu fields, the start of the block or the formulas.
  const std::array<std::size_t, 4> anchors = {v.menu, v.block - 8, v.block + 1100, v.block + 4180};
  std::size_t start = anchors[data[1] % anchors.size()];
  for (std::size_t i = 2; i < size && start + i - 2 < file.size(); ++i)
    file[start + i - 2] = data[i];
  readAllWays(qm::ByteView(file.data(), file.size()));
  return 0;
}
