#pragma once
// Create FFL / Add to FFL: one Filter Factory library from Filter Factory files (plugins,
// sources, library entries, whole libraries), written in one piece.

#include <filesystem>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/common/ports.h"
#include "core/ff/convert.h"
#include "core/ff/options.h"

namespace qm::ff {

struct LibraryRequest {
  // Paths, or "LIB.ffl#N" for one entry; a library path stands for all its entries.
  std::vector<std::string> inputs;
  std::filesystem::path library;
  bool append = false;  // add to the existing library instead of writing a new one
  bool ffl10 = true;    // header of a new library: "FFL1.0", else "FFL1.1"
  FFOptions ff;
};

// written holds the library once it is written; skipped the library when the overwrite
// decision kept the old one; failed the inputs that cannot become entries and the library
// when it cannot be written (with the reason); warnings, once per input, the fields the
// library format could not hold. Nothing is written when no input gave an entry, when the run
// is cancelled or when the library would replace one of the inputs.
struct LibraryReport : ConvertReport {
  std::size_t entries = 0;  // entries added
};

// A new library goes through overwrite (an existing file is replaced only when it allows);
// an added-to library must exist and is rewritten atomically. progress.cancelled() is polled
// before each input.
LibraryReport writeFilterLibrary(const LibraryRequest& request, batch::OverwriteCheck& overwrite,
                                 Progress& progress);

}  // namespace qm::ff
