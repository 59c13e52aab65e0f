#include "core/preferences/preferences_model.h"

#include "core/preferences/list_file.h"

namespace qm::preferences {

settings::Options loadPreferences(const settings::Store& store,
                                  const std::filesystem::path& programDir,
                                  const settings::Options& initial) {
  settings::Options options = settings::loadOptions(store, initial);
  options.folders = loadFolderList(programDir);
  options.pluginTypes = plugins::loadPlugTypes(programDir);
  return options;
}

bool saveListFiles(const std::filesystem::path& programDir, const settings::Options& options) {
  bool types = plugins::SaveList(programDir / kPlugTypesFile, options.pluginTypes);
  bool folders = saveFolderList(programDir, options.folders);
  return types && folders;
}

bool savePreferences(settings::Store& store, const std::filesystem::path& programDir,
                     const settings::Options& options) {
  settings::saveOptions(store, options);
  return saveListFiles(programDir, options);
}

}  // namespace qm::preferences
