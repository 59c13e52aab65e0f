#include "core/outside/command_line.h"

namespace qm::outside {
namespace {

constexpr std::string_view kFilePlaceholder = " %1";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::expected<std::vector<std::string>, SplitError> splitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (isBlank(c)) {
      if (inWord) words.push_back(std::move(word)), word.clear(), inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\\') {
      if (i + 1 < line.size()) word += line[++i];
    } else if (c == '\'') {
      std::size_t close = line.find('\'', i + 1);
      if (close == std::string_view::npos) return std::unexpected(SplitError::UnclosedQuote);
      word += line.substr(i + 1, close - i - 1);
      i = close;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i >= line.size()) return std::unexpected(SplitError::UnclosedQuote);
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() &&
            std::string_view("\"\\$`").find(line[i + 1]) != std::string_view::npos)
          ++i;
        word += line[i];
      }
    } else {
      word += c;
    }
  }
  if (inWord) words.push_back(std::move(word));
  if (words.empty()) return std::unexpected(SplitError::Empty);
  return words;
}

std::expected<std::vector<std::string>, SplitError> applicationCommand(
    std::string_view entry, std::string_view selectedFile) {
  bool takesFile = entry.ends_with(kFilePlaceholder);
  if (takesFile) entry.remove_suffix(kFilePlaceholder.size());
  auto words = splitCommandLine(entry);
  if (words && takesFile && !selectedFile.empty()) words->emplace_back(selectedFile);
  return words;
}

std::string cannotStartText(std::string_view entry) {
  return "Couldn't start " + std::string(entry);
}

}  // namespace qm::outside
