#pragma once
// The option set the Preferences dialog holds while the program runs: filled from the store
// at start-up (and by Cancel), written back by OK. Every other part reads options from here.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/plugins/type_table.h"
#include "core/settings/store.h"

namespace qm::settings {

struct FontChoice {
  std::string name;
  int size = 0;
  bool bold = false;
  bool italic = false;
  // A stored font is applied only with a name and a size of at least 1.
  bool applies() const { return !name.empty() && size >= 1; }
};

enum class FileViewOption {
  HotTracking = 0,
  AutoColumnWidth,
  FullRowSelection,
  FlatScrollbar,
  Gridlines,
  HoverSelection,
};

// The interface design setting that asks for the plain editor instead of a design.
inline constexpr std::string_view kPlainEditorDesign = "OFF";

struct Options {
  std::string interfaceDesign = "Modern.des";  // or kPlainEditorDesign
  int usedFF = 0;  // Option4: the template of created Photoshop plugins (ff::FFTemplate)
  bool noFFOptimize = false;
  // Check boxes whose missing key keeps the design state. Sub folders and the auto-add
  // lists start off; "Write FFL 1.0 Files (recommended)" starts on, as its caption suggests.
  bool scanSubDirs = false;
  std::array<bool, 3> autoAdd{};
  bool autoTop = false;
  std::array<bool, 3> editorPlugin{};
  int folderItemLimit = 20;
  // Full row selection starts on: a details list without it is hard to read.
  std::array<bool, 6> fileView{false, false, true, false, false, false};
  bool passivePaneFolder = false;
  bool writeFFL10 = true;
  bool fullStartUp = false;
  // "include txt, afs and pff files" is never stored. It starts on: the sample collection and
  // most users keep their sources beside the plugins and expect to see them listed.
  bool includeSources = true;
  FontChoice listFont;
  FontChoice otherFont;
  std::vector<std::string> apps;
  std::vector<std::string> pictures;  // "Pic" keys: the picture entries of the File menu
  std::string previewPicture;         // as stored; see previewPicturePath()
  // "Run Windows plugins for previews": off until the user allows downloaded code to run
  // merely because a file was selected.
  bool windowsPluginPreviews = false;

  // Options of the dialog that are not stored: they start from these values at every start.
  bool cooperativeMultithreading = true;  // "Enable Cooperative Multithreading"
  bool previewCacheEnabled = true;        // preview cache "Enabled"
  bool bigPreview = false;                // "Big Preview"
  bool megaPreview = false;               // "Mega Preview"

  // Stored, though the old program kept them for one run only: a choice made once stays.
  int previewJpgQuality = 80;  // "JPG Compression", percent (JPGQuality)
  // Build options of the plugins the program writes (compilation frames).
  bool noDialog = false;  // "No Dialog" (NoDialog)
  bool allModes = false;  // "All Modes" (AllModes)
  // Template boxes: the chosen Photoshop user template (Option4 choice 2 = usedFF 2), and the
  // Premiere Filter Factory and Transition Factory templates (fl-fact.prm, fx-fact.prm).
  std::string photoshopTemplate;
  std::string premiereFFTemplate;
  std::string premiereTFTemplate;
  // "Associate File Types" ticks, in the order of preferences::kAssociations (Associate0..4).
  std::array<bool, 5> associate{};

  // The lists kept in files of the program folder rather than in the store: FolderList.log
  // and PlugTypes.ini (see core/preferences).
  std::vector<std::string> folders;
  plugins::TypeList pluginTypes;
  // PlugTypes.ini had lines that could not be read: the file is kept until the list changes.
  bool pluginTypesLostLines = false;

  bool fileViewOption(FileViewOption o) const { return fileView[static_cast<int>(o)]; }
};

inline constexpr int kMaxListIndex = 200;

// Load options: every field from the store; missing keys keep the value in `initial`, or the
// fallback of the key where the store defines one.
Options loadOptions(const Store& store, const Options& initial = {});

// Save options (Preferences OK): writes every key the OK button owns, removes stale App/Pic
// keys and the old PluginType keys first.
void saveOptions(Store& store, const Options& options);

// "Show Tips at Startup" of the Options section. A missing key means no tips: a first start
// opens the sample collection, and a window on top of it would only be in the way.
bool showTipsAtStartup(const Store& store);
void setShowTipsAtStartup(Store& store, bool show);

}  // namespace qm::settings
