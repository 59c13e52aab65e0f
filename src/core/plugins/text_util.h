#pragma once
// Small text helpers of the catalogue: case rules of Windows-1252 bytes, endings and the
// sort order of texts read from files.

#include <filesystem>
#include <string>
#include <string_view>

namespace qm::plugins {

char lowerCp1252(char c);
std::string lowerCp1252(std::string_view text);

// The lower-cased last n characters (fewer when the text is shorter).
std::string lastLower(std::string_view text, std::size_t n);
bool endsWith(std::string_view text, std::string_view ending);
bool endsWithLower(std::string_view text, std::string_view lowerEnding);

// The lists' order (textSortsBefore) for texts stored inside files (Windows-1252).
bool cp1252SortsBefore(std::string_view a, std::string_view b);

// A file name squeezed into Windows-1252, for record fields that are stored in files; never
// for showing, sorting or renaming.
std::string nameBytes(const std::filesystem::path& path);
// A record's file name or title for showing (UTF-8). Readers name a record after its file,
// some with the last three characters changed (an .afs is "NAME.8bf"); such a text shows the
// file's real name with the record's ending, any other text is the record's own.
std::string shownRecordName(std::string_view recordName, const std::filesystem::path& file);

}  // namespace qm::plugins
