#pragma once
// The Filter Factory options a command takes from its flags: --no-optimize,
// --template PATH, --ff-template 3.0|3.04.

#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "core/ff/options.h"

namespace qm::cli {

// Names of the valued options and flags below, for a CliCommand.
inline const std::vector<std::string_view> kFFValuedOptions = {"template", "ff-template"};
inline const std::vector<std::string_view> kFFFlags = {"no-optimize"};

// A usage problem comes back as its text.
std::expected<ff::FFOptions, std::string> ffOptionsFromArgs(const Context& context);

}  // namespace qm::cli
