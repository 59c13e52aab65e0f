#include "cli/ff_option_flags.h"

namespace qm::cli {

std::expected<ff::FFOptions, std::string> ffOptionsFromArgs(const Context& context) {
  const Args& args = context.args;
  ff::FFOptions options;
  options.programDir = context.programDir;
  options.noOptimize = args.flag("no-optimize");
  if (auto version = args.value("ff-template")) {
    if (*version == "3.0")
      options.usedFF = ff::FFTemplate::FF30;
    else if (*version == "3.04")
      options.usedFF = ff::FFTemplate::FF304;
    else
      return std::unexpected("--ff-template takes 3.0 or 3.04");
  }
  // A user template wins over the template version, as in the Preferences.
  if (auto path = args.value("template")) {
    options.usedFF = ff::FFTemplate::User;
    options.userTemplate = *path;
  }
  return options;
}

}  // namespace qm::cli
