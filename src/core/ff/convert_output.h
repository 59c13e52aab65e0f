#pragma once
// One output of the conversion run: the overwrite decision for the name the writer uses, the
// write, and what the run reports of it.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

// A file the run could not write, or a text it had to cut, worded for the user.
struct ConvertProblem {
  // The input: a file, "LIB.ffl#N" for a library entry, empty for the clipboard source.
  std::filesystem::path path;
  std::string text;
};

// "PATH: text" per problem ("-" stands for the clipboard source).
std::vector<std::string> problemLines(const std::vector<ConvertProblem>& problems);

struct ConvertTally {
  std::vector<std::filesystem::path> written;  // output files, each once
  std::vector<std::filesystem::path> skipped;  // inputs not written by choice
  std::vector<ConvertProblem> failed;          // inputs that could not be written
  std::vector<ConvertProblem> warnings;        // texts cut to their fields

  void add(ConvertTally&& other);
};

struct OutputRequest {
  std::filesystem::path source;  // the file the overwrite question names (may be empty)
  std::filesystem::path input;   // how the report names the input
  std::filesystem::path output;  // where the writer puts it
  int target = 0;
  // Every input of the run: an output that is one of them fails, whatever the overwrite mode.
  std::span<const std::filesystem::path> ownInputs = {};
};

// Asks overwrite about request.output, writes rec there when the answer allows and records
// the outcome in tally. False when the user cancelled the run.
bool convertOutput(const OutputRequest& request, FFRecord& rec, const FFOptions& options,
                   batch::OverwriteCheck& overwrite, ConvertTally& tally);

}  // namespace qm::ff
