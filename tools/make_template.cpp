// Writes Quillmark's own template plugins photo30.dll and photo304.dll into a folder; the
// build runs it so the data folder always holds templates that match the plugin writer.

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_template.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qm-make-template FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const struct {
    const char* name;
    qm::ff::TemplateKind kind;
  } templates[] = {{"photo30.dll", qm::ff::TemplateKind::FF30},
                   {"photo304.dll", qm::ff::TemplateKind::FF304}};
  for (const auto& t : templates) {
    const auto target = folder / t.name;
    std::string reason = qm::ff::replaceFile(target, qm::ff::BuildTemplatePlugin(t.kind));
    if (!reason.empty()) {
      std::fprintf(stderr, "qm-make-template: %s: %s\n", target.c_str(), reason.c_str());
      return 1;
    }
  }
  return 0;
}
