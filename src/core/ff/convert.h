#pragma once
// The conversion run: every chosen Filter Factory file (libraries whole), or a text source
// taken from the clipboard, read into a record and written in one target format.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/convert_output.h"
#include "core/ff/file_names.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

// Input kinds by the last four characters of the name, any case; the disabled spellings
// of plugins count as plugins.
enum class InputKind { Text, Plugin, Premiere, Afs, Pff, Ffx, Library, Unknown };
InputKind inputKindOf(std::string_view fileName);

// Reads any Filter Factory file but a library for conversion: plugins in full and
// optimised, Premiere formulas left in their dialect. An .afs, .pff or .ffx whose fileName
// equals its title after reading (a source without trailer) gives false.
bool ReadFFfile(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options);

// Loads a file the way the editor does: as ReadFFfile, but Premiere plugins and .pff files
// come back translated to the Photoshop dialect, and a .txt, .afs or .pff keeps its own
// extension in fileName. Libraries are not loaded here (see LoadFFLEntry).
bool LoadFile(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options);

struct ConvertOptions {
  int target = kTargetPlugin;
  bool namesFromTitles = false;  // "Use Filter Name as File Name"
  // Set: "Use Clipboard as Source" with the clipboard's text as Windows-1252 bytes; the run
  // then converts only that text (written to "Temp.txt" in ff.programDir while it is read).
  std::optional<std::string> clipboardText;
  FFOptions ff;
};

// Inputs are the paths given, "LIB.ffl#N" for a library entry; the clipboard source is
// reported as an empty path. A library that ends early is among the failed.
struct ConvertReport : ConvertTally {
  std::vector<std::filesystem::path> unreadable;  // inputs that are not Filter Factory files
  bool cancelled = false;
  bool noDestination = false;  // the destination question was cancelled: nothing done
};

// Asks the destination (prompter.chooseFolder; created when missing), resets the overwrite
// mode, then converts. Each output goes through OverwriteCheck under the name it is written
// as; progress.cancelled() is polled before each file and each library entry. A file named
// after itself keeps the name it has on the disk (whatever its characters); names from file
// contents (titles, a .txt's "Filename" line, library entries) are Windows-1252 texts.
ConvertReport cmd_Convert(const std::vector<std::filesystem::path>& files,
                          const ConvertOptions& options, Prompter& prompter, Progress& progress);

}  // namespace qm::ff
