#pragma once
// What lives for the whole run and every window reads: the program folder, the settings
// store, the options of the Preferences dialog, the plugin type table.

#include <filesystem>
#include <memory>

#include "core/catalogue/catalogue_store.h"
#include "core/ff/options.h"
#include "core/plugins/type_table.h"
#include "core/settings/options.h"
#include "core/settings/store.h"
#include "gui/main/screen_fit.h"
#include "platform/desktop_services.h"

namespace qm::gui {

struct AppContext {
  std::filesystem::path programDir;
  settings::Store& store;
  settings::Options options;
  plugins::PlugTypeTable typeTable;
  ff::FFOptions ffOptions;
  // How help pages, addresses and files reach the desktop; empty = the desktop itself.
  platform::UrlOpener urlOpener;
  // The catalogue cache the Plugin View scans through; none: every file is read.
  std::shared_ptr<catalogue::CatalogueStore> catalogueCache = nullptr;
  // The room on the screen the main window opens on; empty = the real screens.
  ScreenArea screenArea{};
};

// Load options: the option set from the store and the list files, the type table from the
// type list, and the Filter Factory options that follow from both.
void loadOptions(AppContext& context);

}  // namespace qm::gui
