#pragma once
// Texts inside plugin and source files are Windows-1252 bytes held in std::string; the
// program converts them to UTF-8 only where they meet a person (labels, terminal, JSON).

#include <string>
#include <string_view>

namespace qm {

std::string cp1252ToUtf8(std::string_view bytes);
// Characters Windows-1252 cannot hold become '?'. Invalid UTF-8 bytes are taken as
// Windows-1252 bytes, so the conversion never fails.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace qm
