#include "core/settings/options.h"

#include "core/ff/options.h"
#include "core/settings/spelling.h"

namespace qm::settings {
namespace {

// A blank-signed or plain 0/1 box: missing keeps the control's state.
bool checkBox(const Store& store, std::string_view key, bool initial) {
  if (!store.contains(kSettings, key)) return initial;
  return lenientInteger(store.get(kSettings, key)) != 0;
}

FontChoice loadFont(const Store& store, char n, const FontChoice& initial) {
  std::string suffix(1, n);
  FontChoice font;
  font.name = store.get(kSettings, "FontName" + suffix);
  font.size = static_cast<int>(lenientInteger(store.get(kSettings, "FontSize" + suffix)));
  font.bold = store.get(kSettings, "FontBold" + suffix) == "True";
  font.italic = store.get(kSettings, "FontItalic" + suffix) == "True";
  return font.applies() ? font : initial;
}

void saveFont(Store& store, char n, const FontChoice& font) {
  std::string suffix(1, n);
  store.set(kSettings, "FontName" + suffix, font.name);
  store.set(kSettings, "FontSize" + suffix, plainNumber(font.size));
  store.set(kSettings, "FontBold" + suffix, trueFalse(font.bold));
  store.set(kSettings, "FontItalic" + suffix, trueFalse(font.italic));
}

std::vector<std::string> loadList(const Store& store, std::string_view name) {
  std::vector<std::string> list;
  for (int i = 0; i <= kMaxListIndex; ++i) {
    std::string key = indexedKey(name, i);
    if (!store.contains(kSettings, key)) break;
    list.push_back(store.get(kSettings, key));
  }
  return list;
}

void removeRun(Store& store, std::string_view name) {
  for (long long i = 0; store.contains(kSettings, indexedKey(name, i)); ++i)
    store.remove(kSettings, indexedKey(name, i));
}

void saveList(Store& store, std::string_view name, const std::vector<std::string>& list) {
  removeRun(store, name);
  for (std::size_t i = 0; i < list.size(); ++i)
    store.set(kSettings, indexedKey(name, static_cast<long long>(i)), list[i]);
}

}  // namespace

Options loadOptions(const Store& store, const Options& initial) {
  Options o = initial;
  o.interfaceDesign = store.get(kSettings, "Interface");
  if (o.interfaceDesign.empty()) o.interfaceDesign = "Modern.des";
  // A new store writes 64-bit plugins, the kind today's hosts load.
  o.usedFF = store.contains(kSettings, "UsedFF")
                 ? static_cast<int>(lenientInteger(store.get(kSettings, "UsedFF")))
                 : static_cast<int>(ff::FFTemplate::FF64);
  o.noFFOptimize = lenientInteger(store.get(kSettings, "NoFFOptimize")) != 0;
  o.scanSubDirs = checkBox(store, "ScanSubDirs", initial.scanSubDirs);
  for (int i = 0; i < 3; ++i) {
    o.autoAdd[i] = checkBox(store, blankIndexedKey("AutoAdd", i), initial.autoAdd[i]);
    o.editorPlugin[i] =
        lenientInteger(store.get(kSettings, blankIndexedKey("EditorPlugin", i))) != 0;
  }
  o.autoTop = lenientInteger(store.get(kSettings, "AutoTop")) != 0;
  long long limit = lenientInteger(store.get(kSettings, "FolderItemLimit"));
  o.folderItemLimit = limit > 0 && limit <= 100000 ? static_cast<int>(limit) : 20;
  for (int i = 0; i < 6; ++i)
    o.fileView[i] = checkBox(store, indexedKey("Fileview", i), initial.fileView[i]);
  o.passivePaneFolder = lenientInteger(store.get(kSettings, "PassivePaneFolder")) != 0;
  o.writeFFL10 = checkBox(store, "FFL1.0", initial.writeFFL10);
  o.fullStartUp = lenientInteger(store.get(kSettings, "FullStartUp")) != 0;
  o.windowsPluginPreviews = checkBox(store, "WindowsPluginPreviews", initial.windowsPluginPreviews);
  o.listFont = loadFont(store, '1', initial.listFont);
  o.otherFont = loadFont(store, '2', initial.otherFont);
  o.apps = loadList(store, "App");
  o.pictures = loadList(store, "Pic");
  o.previewPicture = store.get(kSettings, "PreviewPic");
  if (store.contains(kSettings, "JPGQuality")) {
    const long long quality = lenientInteger(store.get(kSettings, "JPGQuality"));
    o.previewJpgQuality = quality >= 1 && quality <= 100 ? static_cast<int>(quality) : 80;
  }
  o.noDialog = checkBox(store, "NoDialog", initial.noDialog);
  o.allModes = checkBox(store, "AllModes", initial.allModes);
  o.photoshopTemplate = store.get(kSettings, "PhotoshopTemplate");
  o.premiereFFTemplate = store.get(kSettings, "PremiereFFTemplate");
  o.premiereTFTemplate = store.get(kSettings, "PremiereTFTemplate");
  for (std::size_t i = 0; i < o.associate.size(); ++i)
    o.associate[i] =
        checkBox(store, indexedKey("Associate", static_cast<long long>(i)), initial.associate[i]);
  return o;
}

void saveOptions(Store& store, const Options& o) {
  store.set(kSettings, "Interface", o.interfaceDesign);
  store.set(kSettings, "NoFFOptimize", blankSigned(o.noFFOptimize));
  store.set(kSettings, "ScanSubDirs", blankSigned(o.scanSubDirs));
  for (int i = 0; i < 3; ++i)
    store.set(kSettings, blankIndexedKey("AutoAdd", i), blankSigned(o.autoAdd[i]));
  store.set(kSettings, "AutoTop", blankSigned(o.autoTop));
  store.set(kSettings, "FolderItemLimit",
            plainNumber(o.folderItemLimit > 0 ? o.folderItemLimit : 20));
  for (int i = 0; i < 6; ++i)
    store.set(kSettings, indexedKey("Fileview", i), plainNumber(o.fileView[i]));
  store.set(kSettings, "PassivePaneFolder", plainNumber(o.passivePaneFolder));
  store.set(kSettings, "FFL1.0", plainNumber(o.writeFFL10));
  store.set(kSettings, "FullStartUp", plainNumber(o.fullStartUp));
  store.set(kSettings, "WindowsPluginPreviews", plainNumber(o.windowsPluginPreviews));
  saveFont(store, '1', o.listFont);
  saveFont(store, '2', o.otherFont);
  store.set(kSettings, "UsedFF", plainNumber(o.usedFF));
  for (int i = 0; i < 3; ++i)
    store.set(kSettings, blankIndexedKey("EditorPlugin", i), plainNumber(o.editorPlugin[i]));
  store.set(kSettings, "JPGQuality", plainNumber(o.previewJpgQuality));
  store.set(kSettings, "NoDialog", blankSigned(o.noDialog));
  store.set(kSettings, "AllModes", blankSigned(o.allModes));
  store.set(kSettings, "PhotoshopTemplate", o.photoshopTemplate);
  store.set(kSettings, "PremiereFFTemplate", o.premiereFFTemplate);
  store.set(kSettings, "PremiereTFTemplate", o.premiereTFTemplate);
  for (std::size_t i = 0; i < o.associate.size(); ++i)
    store.set(kSettings, indexedKey("Associate", static_cast<long long>(i)),
              plainNumber(o.associate[i]));
  removeRun(store, "PluginType");
  saveList(store, "App", o.apps);
  saveList(store, "Pic", o.pictures);
}

bool showTipsAtStartup(const Store& store) {
  return lenientInteger(store.get(kOptions, "Show Tips at Startup")) == 1;
}

void setShowTipsAtStartup(Store& store, bool show) {
  store.set(kOptions, "Show Tips at Startup", plainNumber(show));
}

}  // namespace qm::settings
