#include "core/ff/ffl_create.h"

#include <algorithm>

#include "core/common/same_file.h"
#include "core/common/text_lines.h"
#include "core/ff/ffl.h"
#include "core/ff/ffl_writer.h"
#include "core/ff/load_file.h"
#include "core/ff/plugin_file_io.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;

// The file an input argument reads: the library of "LIB.ffl#N", else the path itself.
fs::path fileOf(const std::string& input) {
  if (auto entry = libraryEntryName(input)) return entry->library;
  return input;
}

class LibraryRun {
 public:
  LibraryRun(const LibraryRequest& request, Progress& progress)
      : request_(request), progress_(progress) {}

  // False when cancelled.
  bool collect() {
    for (const auto& input : request_.inputs) {
      if (progress_.cancelled()) return false;
      const bool wholeLibrary =
          !libraryEntryName(input) &&
          inputKindOf(fs::path(input).filename().string()) == InputKind::Library;
      if (wholeLibrary)
        library(input);
      else
        single(input);
    }
    return true;
  }

  std::vector<FFRecord>& entries() { return entries_; }
  LibraryReport& report() { return report_; }

 private:
  void single(const std::string& input) {
    auto loaded = loadNamedFilter(input, request_.ff);
    if (!loaded) {
      // loadNamedFilter's text names the input or its library already.
      std::string reason = loaded.error();
      for (const std::string& prefix : {input + ": ", fileOf(input).string() + ": "})
        if (reason.starts_with(prefix)) reason.erase(0, prefix.size());
      report_.unreadable.push_back({input, reason});
      return;
    }
    add(input, *loaded);
  }

  void library(const std::string& input) {
    auto bytes = readFileBytes(input, UINT64_MAX, {});
    if (!bytes) {
      report_.unreadable.push_back({input, bytes.error()});
      return;
    }
    const ByteView view(*bytes);
    auto index = IndexFFL(view);
    if (!index) {
      report_.unreadable.push_back({input, std::string(kNotFilterFactory)});
      return;
    }
    for (std::size_t n = 0; n < index->entries.size(); ++n) {
      if (index->entries[n].placeholder) continue;
      ByteCursor cursor(view, index->entries[n].position);
      FFRecord rec;
      ReadFFLEntryII(cursor, rec);
      add(input + "#" + std::to_string(n + 1), rec);
    }
    if (index->cutShort)
      report_.failed.push_back({input, "the library ends inside an entry (damaged)"});
  }

  void add(const fs::path& name, const FFRecord& rec) {
    if (auto refusal = fflEntryRefusal(rec)) {
      report_.failed.push_back({name, "cannot be a library entry: " + *refusal});
      return;
    }
    auto storable = fflStorable(rec);
    if (!storable.changedFields.empty())
      report_.warnings.push_back({name, "the library cannot hold its " +
                                            joinedText(storable.changedFields, ", ") +
                                            " as it stands; changed"});
    entries_.push_back(std::move(storable.record));
  }

  const LibraryRequest& request_;
  Progress& progress_;
  std::vector<FFRecord> entries_;
  LibraryReport report_;
};

}  // namespace

LibraryReport writeFilterLibrary(const LibraryRequest& request, batch::OverwriteCheck& overwrite,
                                 Progress& progress) {
  const fs::path& target = request.library;
  std::vector<fs::path> inputFiles;
  for (const auto& input : request.inputs) inputFiles.push_back(fileOf(input));
  if (replacesOwnInput(target, inputFiles)) {
    LibraryReport refused;
    refused.failed.push_back({target, std::string(kOwnInputReason)});
    return refused;
  }

  LibraryRun run(request, progress);
  if (!run.collect()) {
    run.report().cancelled = true;
    return std::move(run.report());
  }
  LibraryReport report = std::move(run.report());
  auto& entries = run.entries();
  if (entries.empty()) return report;

  std::string text;
  if (request.append) {
    auto bytes = readFileBytes(target, UINT64_MAX, {});
    if (!bytes) {
      report.failed.push_back({target, bytes.error()});
      return report;
    }
    auto added = fflWithAddedEntries(ByteView(*bytes), entries);
    if (!added) {
      report.failed.push_back({target, added.error()});
      return report;
    }
    text = std::move(*added);
  } else {
    switch (overwrite({}, target)) {
      case batch::OverwriteDecision::Cancel:
        report.cancelled = true;
        return report;
      case batch::OverwriteDecision::Skip:
        report.skipped.push_back(target);
        return report;
      case batch::OverwriteDecision::Write:
        break;
    }
    text = fflLibraryText(request.ffl10 ? "FFL1.0" : "FFL1.1", entries);
  }
  if (auto reason = replaceFile(target, std::vector<std::uint8_t>(text.begin(), text.end()));
      !reason.empty()) {
    report.failed.push_back({target, reason});
    return report;
  }
  report.written.push_back(target);
  report.entries = entries.size();
  return report;
}

}  // namespace qm::ff
