#pragma once
// What the catalogue commands share: the type table in force and text for the terminal.

#include <string>
#include <string_view>

#include "cli/command.h"
#include "core/plugins/type_table.h"

namespace qm::cli {

// The Preferences type list: <program dir>/PlugTypes.ini, else the defaults.
plugins::TypeList typeListOf(const Context& context);
plugins::PlugTypeTable typeTableOf(const Context& context);

// Windows-1252 text for the terminal: UTF-8, CR LF as "\n".
std::string terminalText(std::string_view cp1252);
// UTF-8 text for the terminal: CR LF as "\n".
std::string terminalLines(std::string_view utf8);
// One field of a line-per-record output: control characters written as "\n", "\t", "\r"
// or "\xNN", so a name holding a line break cannot split its record.
std::string escapedField(std::string_view utf8);

}  // namespace qm::cli
