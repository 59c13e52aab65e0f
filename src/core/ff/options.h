#pragma once
// The Preferences options the Filter Factory readers and writers read. The desktop program
// fills this from its settings; quillmark-cli from its flags.

#include <filesystem>

namespace qm::ff {

struct FFOptions {
  bool noOptimize = false;  // "No FF Code Optimization"

  // Plugin writer. The template, compilation and standalone choices are added with the
  // plugin writer; programDir holds photo30.dll, photo304.dll and temp.dll.
  std::filesystem::path programDir;
};

}  // namespace qm::ff
