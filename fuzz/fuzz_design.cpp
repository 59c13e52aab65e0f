// The editor's interface design reader and snippet reader over arbitrary bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/editor/design_file.h"
#include "core/editor/snippets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto design = qm::editor::parseDesign(text);
  std::size_t sink = design.background.size() + design.hotspot.address.size();
  if (design.outline) sink += design.outline->steps.size();
  for (const auto& s : qm::editor::parseSnippets(text)) sink += s.code.size() + s.name.size();
  volatile std::size_t keep = sink;
  (void)keep;
  return 0;
}
