#include "core/ff/load_file.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "core/ff/ffl.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"
#include "core/ff/sources.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;

std::string lowerEnding(std::string_view name) {
  std::string ending(name.substr(name.size() < 4 ? 0 : name.size() - 4));
  for (char& c : ending)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ending;
}

void translateToPhotoshop(FFRecord& rec) {
  for (auto& formula : rec.formulas) formula = Correctprmcode(formula);
  // Set together with the translation so no writer translates the formulas again.
  rec.photoshopDialect = true;
}

void replaceExtension(std::string& fileName, std::string_view extension) {
  fileName.resize(fileName.size() < 4 ? 0 : fileName.size() - 4);
  fileName += extension;
}

// Filter Factory plugins of every known layout are far smaller; a bigger file is none.
constexpr std::uint64_t kLargestPlugin = 16 * 1024 * 1024;

bool isTextSource(InputKind kind) {
  return kind == InputKind::Text || kind == InputKind::Afs || kind == InputKind::Pff ||
         kind == InputKind::Ffx;
}

// Reads bytes by kind; Premiere plugins try Filter Factory first, then Transition Factory.
bool readByKind(InputKind kind, const fs::path& file, ByteView bytes, FFRecord& rec,
                const FFOptions& options) {
  const std::string name = recordFileName(file);
  switch (kind) {
    case InputKind::Text:
      return ReadTXTFrom(file, bytes, rec, options);
    case InputKind::Plugin:
      return Read8bfBytes(bytes, name, rec, false, true, options);
    case InputKind::Premiere:
      return ReadprmBytes(bytes, name, rec, false, true, options) ||
             ReadTFBytes(bytes, name, rec, false, options);
    case InputKind::Afs:
      return ReadAFSBytes(bytes, name, rec, options);
    case InputKind::Pff:
      return ReadPFFBytes(bytes, name, rec, options);
    case InputKind::Ffx:
      return ReadFFXBytes(bytes, name, rec);
    case InputKind::Library:
    case InputKind::Unknown:
      break;
  }
  return false;
}

Outcome<FFRecord, std::string> loadLibraryEntry(const LibraryEntryName& entry) {
  auto bytes = readFileBytes(entry.library, UINT64_MAX, {});
  if (!bytes) return Failure{entry.library.string() + ": " + bytes.error()};
  ByteView view(*bytes);
  auto index = IndexFFL(view);
  if (!index) return Failure{entry.library.string() + " is not a Filter Factory Library File!"};
  auto rec = LoadFFLEntry(view, entry.number);
  if (!rec)
    return Failure{entry.library.string() + ": no entry " + std::to_string(entry.number) +
                   " (the library has " + std::to_string(index->entries.size()) + ")"};
  return *rec;
}

}  // namespace

Outcome<FFRecord, std::string> loadLibraryEntryAt(const fs::path& library, std::uint64_t position) {
  auto bytes = readFileBytes(library, UINT64_MAX, {});
  if (!bytes) return Failure{library.string() + ": " + bytes.error()};
  const ByteView view(*bytes);
  // Only the start of a listed entry: a position from a library changed since it was listed
  // reads nothing rather than a shifted entry.
  auto index = IndexFFL(view);
  if (!index) return Failure{library.string() + " is not a Filter Factory Library File!"};
  const bool listed = std::ranges::any_of(
      index->entries, [position](const FFLIndexEntry& e) { return e.position == position; });
  if (!listed) return Failure{library.string() + ": the library changed; refresh the FFL View"};
  ByteCursor cursor(view, static_cast<std::size_t>(position));
  FFRecord rec;
  ReadFFLEntryII(cursor, rec);
  return rec;
}

InputKind inputKindOf(std::string_view fileName) {
  const auto ending = lowerEnding(fileName);
  if (ending == ".txt") return InputKind::Text;
  if (ending == ".8bf" || ending == "._bf" || ending == ".bin" || ending == "_8bf")
    return InputKind::Plugin;
  if (ending == ".prm" || ending == "._rm" || ending == "_prm") return InputKind::Premiere;
  if (ending == ".afs") return InputKind::Afs;
  if (ending == ".pff") return InputKind::Pff;
  if (ending == ".ffx") return InputKind::Ffx;
  if (ending == ".ffl") return InputKind::Library;
  return InputKind::Unknown;
}

Outcome<FFRecord, std::string> loadFilterFactoryFile(const fs::path& file, const FFOptions& options,
                                                     LoadPurpose purpose) {
  const auto kind = inputKindOf(file.filename().string());
  auto bytes = isTextSource(kind) ? readSourceFile(file)
                                  : readFileBytes(file, kLargestPlugin, kNotFilterFactory);
  if (!bytes) return Failure{bytes.error()};
  FFRecord rec;
  if (!readByKind(kind, file, ByteView(*bytes), rec, options))
    return Failure{std::string(kNotFilterFactory)};
  if (purpose == LoadPurpose::Editor) {
    if (kind == InputKind::Premiere || kind == InputKind::Pff) translateToPhotoshop(rec);
    if (kind == InputKind::Text) replaceExtension(rec.fileName, ".txt");
    if (kind == InputKind::Afs) replaceExtension(rec.fileName, ".afs");
    if (kind == InputKind::Pff) replaceExtension(rec.fileName, ".pff");
  }
  return rec;
}

std::optional<LibraryEntryName> libraryEntryName(const std::string& argument) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(argument, ec))) return std::nullopt;
  const auto hash = argument.rfind('#');
  if (hash == std::string::npos) return std::nullopt;
  const fs::path library = argument.substr(0, hash);
  if (inputKindOf(library.filename().string()) != InputKind::Library) return std::nullopt;
  std::size_t number = 0;
  const char* first = argument.data() + hash + 1;
  const char* last = argument.data() + argument.size();
  auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return LibraryEntryName{library, number};
}

Outcome<FFRecord, std::string> loadNamedFilter(const std::string& argument,
                                               const FFOptions& options) {
  if (auto entry = libraryEntryName(argument)) return loadLibraryEntry(*entry);
  if (inputKindOf(fs::path(argument).filename().string()) == InputKind::Library)
    return Failure{std::string(argument + ": a library; name one entry as " + argument + "#N")};
  auto rec = loadFilterFactoryFile(argument, options, LoadPurpose::Editor);
  if (!rec) return Failure{argument + ": " + rec.error()};
  return rec;
}

bool ReadFFfile(const fs::path& file, FFRecord& rec, const FFOptions& options) {
  auto loaded = loadFilterFactoryFile(file, options, LoadPurpose::Conversion);
  if (!loaded) return false;
  rec = std::move(*loaded);
  return true;
}

bool LoadFile(const fs::path& file, FFRecord& rec, const FFOptions& options) {
  auto loaded = loadFilterFactoryFile(file, options, LoadPurpose::Editor);
  if (!loaded) return false;
  rec = std::move(*loaded);
  return true;
}

}  // namespace qm::ff
