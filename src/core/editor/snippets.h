#pragma once
// The editor's code snippets: a plain text file of "code; name" lines shipped beside the
// program and offered in the snippet list and menu.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm::editor {

struct Snippet {
  std::string name;
  std::string code;
};

// One snippet per line; empty lines and lines starting with "#" are skipped. The code runs up
// to the first ";", the name starts two characters after it (a blank follows the ";").
std::vector<Snippet> parseSnippets(std::string_view text);

// A missing or unreadable file gives no snippets.
std::vector<Snippet> readSnippetFile(const std::filesystem::path& file);

}  // namespace qm::editor
