#include "cli/plugin_types_cli.h"

#include "core/common/cp1252.h"

namespace qm::cli {

plugins::TypeList typeListOf(const Context& context) {
  return plugins::loadPlugTypes(context.programDir);
}

plugins::PlugTypeTable typeTableOf(const Context& context) {
  return plugins::makeTypeTable(typeListOf(context));
}

std::string terminalText(std::string_view cp1252) {
  return cp1252ToUtf8(terminalLines(cp1252));
}

std::string terminalLines(std::string_view utf8) {
  std::string text;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    text.push_back(utf8[i]);
  }
  return text;
}

std::string escapedField(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      text += "\\n";
    } else if (c == '\t') {
      text += "\\t";
    } else if (c == '\r') {
      text += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0x0F];
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace qm::cli
