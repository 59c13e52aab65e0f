#pragma once
// Entries of the application list are command lines. They are started without a shell, so
// they are split here into program and arguments the way a shell splits words.

#include <expected>
#include <string>
#include <string_view>
#include <vector>

namespace qm::outside {

enum class SplitError { Empty, UnclosedQuote };

// Words split at blanks and tabs; '...' keeps everything literally, "..." keeps blanks and
// lets a backslash protect " \ $ and `, and a backslash outside quotes protects the next
// character.
std::expected<std::vector<std::string>, SplitError> splitCommandLine(std::string_view line);

// An application entry as words to start: a trailing " %1" stands for the selected file,
// which becomes one word of its own however many blanks its path holds (no file, no word).
std::expected<std::vector<std::string>, SplitError> applicationCommand(
    std::string_view entry, std::string_view selectedFile);

// "Couldn't start " + the entry, for a line that cannot be split or started.
std::string cannotStartText(std::string_view entry);

}  // namespace qm::outside
