#include "core/plugins/open_by_type.h"

#include <array>

#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

bool in(std::string_view v, std::initializer_list<std::string_view> list) {
  for (auto e : list)
    if (v == e) return true;
  return false;
}

}  // namespace

OpenAction decideOpen(std::string_view fileName, const PlugTypeTable& table) {
  const std::string ext4 = lastLower(fileName, 4);
  if (in(ext4, {".bmp", ".jpg"})) return OpenAction::PictureEditor;
  if (ext4 == ".ffl") return OpenAction::ConvertDialog;
  if (in(ext4, {".8bf", "_8bf", "._bf", ".prm", "_prm", "._rm", ".afs", ".pff", ".bin", ".ffx"}))
    return OpenAction::FilterFactoryEditor;
  if (ext4 == ".txt") return OpenAction::TextSource;
  if (table.match(fileName)) return OpenAction::PluginInformation;
  return OpenAction::Shell;
}

CommandFlags commandAvailability(std::span<const std::string> selectedNames,
                                 const PlugTypeTable& table, bool enableAll, PaneView view) {
  CommandFlags f;
  if (enableAll) {
    f = {true, true, true, true};
  } else {
    for (const auto& name : selectedNames) {
      const std::string ext4 = lastLower(name, 4);
      if (in(ext4, {".8bf", "._bf", "_8bf", "_prm", ".prm", "._rm", ".bin"})) {
        f = {true, true, true, true};
        break;
      }
      if (in(ext4, {".afs", ".pff", ".txt", ".ffx"})) {
        f.a = true;
      } else if (in(ext4, {".aex", "_aex", "._ex"})) {
        f.b = f.c = true;
      } else if (table.match(name)) {
        f.b = true;
      }
    }
  }
  // Change Category works only in the Plugin View, whatever enabled the flag.
  if (view != PaneView::Plugin) f.c = false;
  return f;
}

}  // namespace qm::plugins
