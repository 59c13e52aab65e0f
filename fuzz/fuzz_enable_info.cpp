// The enable-info reader and evaluator on any text, and the PiPL property walk that finds it
// on any bytes: neither may crash, hang or read outside what it was given.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/plugins/enable_info.h"
#include "core/plugins/pipl_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm::plugins;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::uint32_t total = 0;
  if (auto expression = EnableExpression::parse(text)) {
    total += expression->enabledModes();
    DocumentFacts odd = plainDocument(kRgbMode);
    odd.width = INT64_MIN;
    odd.height = -1;
    odd.hasSelectionMask = true;
    total += expression->enabled(odd);
  }
  const PiplProperties found = readPiplProperties(qm::ByteView(data, size));
  total += found.entryPoints;
  if (auto modes = offeredModes(found.enableInfo, found.supportedModes)) total += *modes;
  return static_cast<int>(total & 0);
}
