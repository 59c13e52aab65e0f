#include "core/preferences/preferences_model.h"

#include "core/preferences/list_file.h"

namespace qm::preferences {

settings::Options loadPreferences(const settings::Store& store,
                                  const std::filesystem::path& programDir,
                                  const settings::Options& initial) {
  settings::Options options = settings::loadOptions(store, initial);
  options.folders = loadFolderList(programDir);
  options.pluginTypes = plugins::loadPlugTypes(programDir, &options.pluginTypesLostLines);
  return options;
}

bool saveListFiles(const std::filesystem::path& programDir, const settings::Options& options) {
  // A list read with lines left out is written only once it is no longer what was read, so
  // an entry this version cannot read is never lost by merely starting and ending.
  const bool keepFile =
      options.pluginTypesLostLines && options.pluginTypes == plugins::loadPlugTypes(programDir);
  bool types = keepFile || plugins::SaveList(programDir / kPlugTypesFile, options.pluginTypes);
  bool folders = saveFolderList(programDir, options.folders);
  return types && folders;
}

bool savePreferences(settings::Store& store, const std::filesystem::path& programDir,
                     const settings::Options& options) {
  settings::saveOptions(store, options);
  return saveListFiles(programDir, options);
}

}  // namespace qm::preferences
