#pragma once
// Small text helpers of the catalogue: case rules of Windows-1252 bytes, endings and the
// sort order every list of the Plugin View uses.

#include <filesystem>
#include <string>
#include <string_view>

namespace qm::plugins {

char lowerCp1252(char c);
// The upper-case form when it is still one Windows-1252 character, else c itself.
char upperCp1252(char c);
std::string lowerCp1252(std::string_view text);

// The lower-cased last n characters (fewer when the text is shorter).
std::string lastLower(std::string_view text, std::size_t n);
bool endsWith(std::string_view text, std::string_view ending);
bool endsWithLower(std::string_view text, std::string_view lowerEnding);

// Sort order of every list: case-insensitive, ties by code point.
bool sortsBefore(std::string_view a, std::string_view b);

// A file name (UTF-8 from the file system) as Windows-1252 bytes, and back.
std::string nameBytes(const std::filesystem::path& path);

}  // namespace qm::plugins
