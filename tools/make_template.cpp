// Writes Quillmark's own template plugins photo30.dll, photo304.dll and photo64.dll into a
// folder; the build runs it so the data folder always holds templates that match the plugin
// writer. Given the two runtime DLLs (32- and 64-bit) the templates are real filters built
// from them; without, they hold resources only.

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_template.h"

namespace {

using qm::ff::TemplateKind;

struct Target {
  const char* name;
  TemplateKind kind;
  int runtime;  // index of the runtime DLL argument: 0 the 32-bit one, 1 the 64-bit one
};

constexpr Target kTargets[] = {{"photo30.dll", TemplateKind::FF30, 0},
                               {"photo304.dll", TemplateKind::FF304, 0},
                               {"photo64.dll", TemplateKind::FF64, 1}};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: qm-make-template FOLDER [RUNTIME32.DLL RUNTIME64.DLL]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  // Each runtime is read once, though the 32-bit one is laid out twice.
  std::array<std::vector<std::uint8_t>, 2> runtimes;
  for (int k = 0; argc == 4 && k < 2; ++k) {
    auto runtime = qm::ff::readWholeFile(argv[2 + k]);
    if (!runtime) {
      std::fprintf(stderr, "qm-make-template: cannot read %s\n", argv[2 + k]);
      return 1;
    }
    runtimes[k] = std::move(*runtime);
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (const Target& t : kTargets) {
    const auto target = folder / t.name;
    std::vector<std::uint8_t> bytes;
    if (argc == 4) {
      auto built = qm::ff::BuildRuntimeTemplate(t.kind, runtimes[t.runtime]);
      if (!built.error.empty()) {
        std::fprintf(stderr, "qm-make-template: %s: %s\n", t.name, built.error.c_str());
        return 1;
      }
      std::printf("%s: runtime code and data %zu bytes\n", t.name, built.codeBytes);
      bytes = std::move(built.bytes);
    } else {
      bytes = qm::ff::BuildTemplatePlugin(t.kind);
    }
    std::string reason = qm::ff::replaceFile(target, bytes);
    if (!reason.empty()) {
      std::fprintf(stderr, "qm-make-template: %s: %s\n", target.c_str(), reason.c_str());
      return 1;
    }
  }
  return 0;
}
