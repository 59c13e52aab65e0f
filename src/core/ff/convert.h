#pragma once
// The conversion run: every chosen Filter Factory file (libraries whole), or a text source
// taken from the clipboard, read into a record and written in one target format.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/file_names.h"
#include "core/ff/load_file.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

struct ConvertOptions {
  int target = kTargetPlugin;
  bool namesFromTitles = false;  // "Use Filter Name as File Name"
  // Set: "Use Clipboard as Source" with the clipboard's text as Windows-1252 bytes; the run
  // then converts only that text (written to "Temp.txt" in ff.programDir while it is read).
  std::optional<std::string> clipboardText;
  FFOptions ff;
};

// Inputs are the paths given; the clipboard source is reported as an empty path.
struct ConvertReport {
  std::vector<std::filesystem::path> written;     // output files
  std::vector<std::filesystem::path> skipped;     // inputs not written by choice
  std::vector<std::filesystem::path> unreadable;  // inputs that are not Filter Factory files
  std::vector<std::string> failures;              // writes that failed, worded for the user
  bool cancelled = false;
  bool noDestination = false;  // the destination question was cancelled: nothing done
};

// Asks the destination (prompter.chooseFolder; created when missing), resets the overwrite
// mode, then converts. Overwrite questions go through OverwriteCheck; progress.cancelled()
// is polled before each file and each library entry.
ConvertReport cmd_Convert(const std::vector<std::filesystem::path>& files,
                          const ConvertOptions& options, Prompter& prompter, Progress& progress);

}  // namespace qm::ff
