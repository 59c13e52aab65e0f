#pragma once
// What a double click on a File View file does, and which commands a selection enables.

#include <span>
#include <string>
#include <string_view>

#include "core/plugins/drop_rules.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

enum class OpenAction {
  PictureEditor,  // ".bmp", ".jpg"
  ConvertDialog,  // ".ffl"
  FilterFactoryEditor,
  TextSource,         // ".txt": the editor when ReadTXT accepts it, else Shell
  PluginInformation,  // a plugin type table extension
  Shell,              // the desktop's Open (".exe" may first join the Apps list)
};

OpenAction decideOpen(std::string_view fileName, const PlugTypeTable& table);

// The four availability flags.
struct CommandFlags {
  bool a = false;  // Convert..., Create FFL..., Add to FFL, Plugin List..., Thumbnail
  bool b = false;  // Enable/Disable, Plugin Information
  bool c = false;  // Change Category...
  bool d = false;  // Execute Plugin, Plugin About Dialog
  bool operator==(const CommandFlags&) const = default;
};

// With no selection nothing changes, so the caller skips the call then. enableAll sets every
// flag without looking at the names; C stays only in the Plugin View.
CommandFlags commandAvailability(std::span<const std::string> selectedNames,
                                 const PlugTypeTable& table, bool enableAll, PaneView view);

}  // namespace qm::plugins
