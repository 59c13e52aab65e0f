#pragma once
// Quillmark's own Filter Factory template plugins: resource-only 32-bit PE images whose PIPL
// and PARM resources sit where the plugin reader and writer expect them. They hold no code;
// tools/make_template writes them into the data folder, tests build them in memory.

#include <cstdint>
#include <vector>

namespace qm::ff {

enum class TemplateKind {
  FF30,   // photo30.dll, 57344 bytes
  FF304,  // photo304.dll, 49152 bytes, the same layout 7168 bytes earlier
};

std::vector<std::uint8_t> BuildTemplatePlugin(TemplateKind kind);

// The texts a freshly built template carries.
inline constexpr char kTemplateTitle[] = "Quillmark Template";
inline constexpr char kTemplateCategory[] = "Filter Factory";

}  // namespace qm::ff
