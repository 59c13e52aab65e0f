#include "core/common/safe_name.h"

#include "core/common/cp1252.h"

namespace qm {

std::string plainFileName(std::string_view name) {
  auto cut = name.find_last_of("/\\");
  if (cut != std::string_view::npos) name.remove_prefix(cut + 1);
  std::string plain;
  for (char c : name)
    if (c != '\0') plain += c;
  if (plain.empty() || plain == "." || plain == "..") plain.insert(0, "_");
  return plain;
}

std::filesystem::path pathInFolder(const std::filesystem::path& folder, std::string_view name) {
  return folder / cp1252ToUtf8(plainFileName(name));
}

}  // namespace qm
