#include "core/ff/ffl_convert.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/ff/ffl.h"
#include "core/ff/file_names.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/status_text.h"
#include "core/ff/target_writer.h"

namespace qm::ff {
namespace {

// An entry of nothing but line ends: a blank block, not a filter.
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

std::filesystem::path entryPath(const std::filesystem::path& library, std::size_t number) {
  auto path = library;
  path += "#" + std::to_string(number);
  return path;
}

}  // namespace

FFLConversion Convertffl(const std::filesystem::path& folder, const std::filesystem::path& library,
                         const FFLConvertOptions& options, batch::OverwriteCheck& overwrite,
                         Prompter& prompter, Progress& progress) {
  auto bytes = readWholeFile(library);
  if (!bytes) {
    FFLConversion failed;
    failed.isLibrary = false;
    return failed;
  }
  return ConvertfflBytes(folder, ByteView(*bytes), library, options, overwrite, prompter, progress);
}

FFLConversion ConvertfflBytes(const std::filesystem::path& folder, ByteView bytes,
                              const std::filesystem::path& library,
                              const FFLConvertOptions& options, batch::OverwriteCheck& overwrite,
                              Prompter& prompter, Progress& progress) {
  FFLConversion result;
  FFLTextReader reader(bytes);
  // The header is checked before the folder is made, so a wrong file leaves no empty folder
  // behind; the message names the library as the caller gave it (its full path).
  if (!isFFLHeader(reader.nextLine())) {
    prompter.warn(library.string() + " is not a Filter Factory Library File!", "Format Violation");
    result.isLibrary = false;
    return result;
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    result.failed.push_back({library, folder.string() + ": " + ec.message()});
    return result;
  }
  const auto declared = lenientNumber(reader.nextLine(), 1u << 30);
  // Entry numbers of the chosen entries; the index counts entries as the loop below does.
  std::set<std::size_t> chosen;
  if (!options.entryPositions.empty())
    if (auto index = IndexFFL(bytes))
      for (std::size_t i = 0; i < index->entries.size(); ++i)
        if (std::find(options.entryPositions.begin(), options.entryPositions.end(),
                      index->entries[i].position) != options.entryPositions.end())
          chosen.insert(i + 1);

  FFRecord rec;
  bool cutShort = false;
  while (!reader.onlyLineEndsLeft()) {
    if (progress.cancelled()) {
      result.cancelled = true;
      break;
    }
    rec.IniVars();
    const bool whole = ReadFFLEntry(reader, rec);
    ++result.entries;
    if (!whole) {
      cutShort = true;
      // What stands of a cut entry is not the filter; the entries before it are.
      result.failed.push_back({library, "the library is damaged: it ends inside entry " +
                                            std::to_string(result.entries)});
      break;
    }
    // Each entry's dialect follows its own name, never the previous file's.
    rec.photoshopDialect = photoshopDialectForName(rec.fileName);
    // Whether an entry was deleted is decided by its own name line, so naming files after
    // titles never revives a deleted entry.
    const bool wanted = options.entryPositions.empty() || chosen.count(result.entries) > 0;
    if (wanted && !isFFLPlaceholder(rec.fileName) && !isBlankEntry(rec)) {
      if (options.namesFromTitles) rec.fileName = RemoveCharsNoSpace(rec.title);
      // Names inside a library are Windows-1252 texts.
      const OutputRequest request{library, entryPath(library, result.entries),
                                  targetPath(folder, options.target, cp1252ToUtf8(rec.fileName)),
                                  options.target, options.ownInputs};
      if (!convertOutput(request, rec, options.ff, overwrite, result)) {
        result.cancelled = true;
        break;
      }
    }
    progress.status(
        countOf(static_cast<long long>(result.entries), static_cast<long long>(declared)));
  }
  if (!result.cancelled && !cutShort && result.entries < declared)
    result.failed.push_back({library, "the library is damaged: it ends after entry " +
                                          std::to_string(result.entries) + " of " +
                                          std::to_string(declared)});
  progress.status("");
  return result;
}

}  // namespace qm::ff
