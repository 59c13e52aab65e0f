#pragma once
// The one loader of Filter Factory files: every command and the desktop program ask it whether
// a file is a Filter Factory filter, and get either the record or the reason why not.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/outcome.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::ff {

inline constexpr std::string_view kNotFilterFactory = "not a Filter Factory file";

// Input kinds by the last four characters of the name, any case; the disabled spellings
// of plugins count as plugins.
enum class InputKind { Text, Plugin, Premiere, Afs, Pff, Ffx, Library, Unknown };
InputKind inputKindOf(std::string_view fileName);

enum class LoadPurpose {
  // Plugins in full and optimised, Premiere formulas left in their dialect.
  Conversion,
  // As Conversion, but Premiere plugins and .pff files come back translated to the Photoshop
  // dialect, and a .txt, .afs or .pff keeps its own extension in fileName.
  Editor,
};

// The record of a single Filter Factory file (not a library), or why there is none: the
// system's reason when the file cannot be read ("No such file or directory"), kSourceTooLarge
// for an oversized text source, kNotFilterFactory when its contents do not read.
Outcome<FFRecord, std::string> loadFilterFactoryFile(const std::filesystem::path& file,
                                                     const FFOptions& options, LoadPurpose purpose);

// "LIB.ffl#N": entry N (1-based) of a library, when no file has that very name.
struct LibraryEntryName {
  std::filesystem::path library;
  std::size_t number = 0;
};
std::optional<LibraryEntryName> libraryEntryName(const std::string& argument);

// The library entry that starts at byte position (as the FFL View lists it), read as the view
// reads it; the error names the library.
Outcome<FFRecord, std::string> loadLibraryEntryAt(const std::filesystem::path& library,
                                                  std::uint64_t position);

// A file or "LIB.ffl#N" as the editor loads it; library entries come as the FFL View loads
// them (no optimisation, no translation). The error is the whole message about argument.
Outcome<FFRecord, std::string> loadNamedFilter(const std::string& argument,
                                               const FFOptions& options);

// The boolean forms of loadFilterFactoryFile for Conversion and Editor.
bool ReadFFfile(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options);
bool LoadFile(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options);

}  // namespace qm::ff
