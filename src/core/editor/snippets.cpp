#include "core/editor/snippets.h"

#include "core/ff/plugin_file_io.h"

namespace qm::editor {

std::vector<Snippet> parseSnippets(std::string_view text) {
  std::vector<Snippet> snippets;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      // CR LF, a lone CR and a lone LF each end a line.
      std::size_t next = end + 1;
      if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
      text.remove_prefix(next);
    }
    if (line.empty() || line.front() == '#') continue;
    std::size_t semicolon = line.find(';');
    Snippet snippet;
    snippet.code = std::string(line.substr(0, semicolon));
    if (semicolon != std::string_view::npos && semicolon + 2 <= line.size())
      snippet.name = std::string(line.substr(semicolon + 2));
    snippets.push_back(std::move(snippet));
  }
  return snippets;
}

std::vector<Snippet> readSnippetFile(const std::filesystem::path& file) {
  const auto bytes = ff::readWholeFile(file);
  if (!bytes) return {};
  return parseSnippets(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace qm::editor
