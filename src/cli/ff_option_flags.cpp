#include "cli/ff_option_flags.h"

#include "core/preferences/templates.h"
#include "core/settings/options.h"
#include "platform/settings_store.h"

namespace qm::cli {

std::expected<ff::FFOptions, std::string> ffOptionsFromArgs(const Context& context) {
  const Args& args = context.args;
  // The desktop program's settings are the defaults: its template choice (and so the
  // architecture), its user template and "No FF Code Optimization". What a written plugin
  // does (dialog, modes, editor) is only what the flags ask for.
  const platform::QSettingsStore store;
  const settings::Options stored = settings::loadOptions(store);
  ff::FFOptions options;
  options.programDir = context.programDir;
  options.usedFF = preferences::ffOptionsFrom(stored, context.programDir).usedFF;
  options.userTemplate = stored.photoshopTemplate;
  options.noOptimize = stored.noFFOptimize || args.flag("no-optimize");
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
