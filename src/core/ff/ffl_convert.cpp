#include "core/ff/ffl_convert.h"

#include <system_error>

#include "core/ff/ffl.h"
#include "core/ff/file_names.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/status_text.h"
#include "core/ff/target_writer.h"

namespace qm::ff {
namespace {

// An entry of nothing but line ends: a trailing blank line, not a filter.
bool isBlankEntry(const FFRecord& rec) {
  if (!rec.fileName.empty() || !rec.category.empty() || !rec.title.empty() || !rec.author.empty() ||
      !rec.copyright.empty())
    return false;
  for (const auto& f : rec.formulas)
    if (!f.empty()) return false;
  for (const auto& n : rec.controlNames)
    if (!n.empty()) return false;
  for (const auto& n : rec.mapNames)
    if (!n.empty()) return false;
  for (auto v : rec.sliderValues)
    if (v != 0) return false;
  return true;
}

}  // namespace

FFLConversion Convertffl(const std::filesystem::path& folder, const std::filesystem::path& library,
                         int target, bool namesFromTitles, const FFOptions& options,
                         Prompter& prompter, Progress& progress) {
  auto bytes = readWholeFile(library);
  if (!bytes) {
    FFLConversion failed;
    failed.isLibrary = false;
    failed.failures.push_back(library.string() + ": could not be read");
    return failed;
  }
  return ConvertfflBytes(folder, ByteView(*bytes), library.string(), target, namesFromTitles,
                         options, prompter, progress);
}

FFLConversion ConvertfflBytes(const std::filesystem::path& folder, ByteView library,
                              std::string_view libraryName, int target, bool namesFromTitles,
                              const FFOptions& options, Prompter& prompter, Progress& progress) {
  FFLConversion result;
  FFLTextReader reader(library);
  // The header is checked before the folder is made, so a wrong file leaves no empty folder
  // behind; the message names the library as the caller gave it (its full path).
  if (!isFFLHeader(reader.nextLine())) {
    prompter.warn(std::string(libraryName) + " is not a Filter Factory Library File!",
                  "Format Violation");
    result.isLibrary = false;
    return result;
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    result.failures.push_back(folder.string() + ": " + ec.message());
    return result;
  }
  // Only shown in the progress text; the loop runs to the end of the file.
  const auto declared = static_cast<long long>(lenientNumber(reader.nextLine(), 1u << 30));

  FFRecord rec;
  while (!reader.atEnd()) {
    if (progress.cancelled()) {
      result.cancelled = true;
      break;
    }
    rec.IniVars();
    ReadFFLEntry(reader, rec);
    // Each entry's dialect follows its own name, never the previous file's.
    rec.photoshopDialect = photoshopDialectForName(rec.fileName);
    // Whether an entry was deleted is decided by its own name line, so naming files after
    // titles never revives a deleted entry.
    const bool placeholder = isFFLPlaceholder(rec.fileName);
    if (namesFromTitles) rec.fileName = RemoveCharsNoSpace(rec.title);
    if (!placeholder && !isBlankEntry(rec)) {
      auto write = WriteForTarget(folder, target, rec, options);
      if (!write.written.empty()) result.written.push_back(write.written);
      if (!write.error.empty()) result.failures.push_back(write.error);
    }
    ++result.entries;
    progress.status(countOf(static_cast<long long>(result.entries), declared));
  }
  progress.status("");
  return result;
}

}  // namespace qm::ff
