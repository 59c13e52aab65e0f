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
  std::string text;
  for (std::size_t i = 0; i < cp1252.size(); ++i) {
    if (cp1252[i] == '\r' && i + 1 < cp1252.size() && cp1252[i + 1] == '\n') continue;
    text.push_back(cp1252[i]);
  }
  return cp1252ToUtf8(text);
}

}  // namespace qm::cli
