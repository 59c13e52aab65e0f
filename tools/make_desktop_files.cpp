// Writes the desktop entry and the MIME package that an install ships, from the same texts
// "Set Associations" writes for one user.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/preferences/associations.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qm-make-desktop-files OUTPUT_DIR\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  std::ofstream desktop(out / qm::preferences::kDesktopFileName, std::ios::binary);
  desktop << qm::preferences::desktopEntry("quillmark");
  std::ofstream mime(out / qm::preferences::kMimePackageName, std::ios::binary);
  mime << qm::preferences::mimePackage();
  desktop.close();
  mime.close();
  return desktop && mime ? 0 : 1;
}
