#pragma once
// The conversion run: every chosen Filter Factory file (libraries whole), or a text source
// taken from the clipboard, read into a record and written in one target format.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/convert_output.h"
#include "core/ff/file_names.h"
#include "core/ff/load_file.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

struct ConvertOptions {
  int target = kTargetPlugin;
  bool namesFromTitles = false;  // "Use Filter Name as File Name"
  // Set: "Use Clipboard as Source" with the clipboard's text as Windows-1252 bytes; the run
  // then converts only that text, read as a text source named "Temp.txt" (at most
  // kLargestSource bytes).
  std::optional<std::string> clipboardText;
  FFOptions ff;
  // A library input converts only its entries that start at these byte positions (the FFL
  // View's selection); empty: every entry.
  std::vector<std::uint64_t> libraryEntries;
};

// Inputs are the paths given, "LIB.ffl#N" for a library entry; the clipboard source is
// reported as an empty path. A library that ends early is among the failed.
struct ConvertReport : ConvertTally {
  // Inputs that are not Filter Factory files, with the reason: the system's ("No such file or
  // directory"), too large, or not a Filter Factory file; empty when a message said it already.
  std::vector<ConvertProblem> unreadable;
  bool cancelled = false;
  std::size_t inputsDone = 0, inputsTotal = 0;  // where a stopped run stopped
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
