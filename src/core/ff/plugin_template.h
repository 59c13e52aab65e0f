#pragma once
// Quillmark's own Filter Factory template plugins: PE images whose PIPL and PARM resources
// sit where the plugin reader and writer expect them. Built from the plugin runtime (runtime/)
// they are real filters; without it they hold resources only. tools/make_template writes them
// into the data folder, tests build them in memory.

#include <cstdint>
#include <string>
#include <vector>

namespace qm::ff {

enum class TemplateKind {
  FF30,   // photo30.dll, 57344 bytes
  FF304,  // photo304.dll, 49152 bytes, the same layout 7168 bytes earlier
  FF64,   // photo64.dll, 81920 bytes, the same layout 24576 bytes later
};

// A template with resources only.
std::vector<std::uint8_t> BuildTemplatePlugin(TemplateKind kind);

// The runtime DLL (sections packed from the headers on, no resources) laid out as the
// template: its sections stay where the linker put them, the resources and the signature
// are added at the template's places. error says why the DLL does not fit.
struct RuntimeTemplate {
  std::vector<std::uint8_t> bytes;
  std::string error;
  std::size_t codeBytes = 0;  // raw bytes of the runtime's own sections
};
RuntimeTemplate BuildRuntimeTemplate(TemplateKind kind, const std::vector<std::uint8_t>& runtime);

// The texts a freshly built template carries.
inline constexpr char kTemplateTitle[] = "Quillmark Template";
inline constexpr char kTemplateCategory[] = "Filter Factory";

}  // namespace qm::ff
