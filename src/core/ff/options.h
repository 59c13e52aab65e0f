#pragma once
// The Preferences options the Filter Factory readers and writers read. The desktop program
// fills this from its settings; quillmark-cli from its flags.

#include <filesystem>
#include <string>

namespace qm::ff {

// Which template the Photoshop FF compilation copies (setting UsedFF, Preferences Option4).
enum class FFTemplate : int {
  FF30 = 0,       // "Filter Factory 3.0": photo30.dll
  FF304 = 1,      // "Filter Factory 3.04 (needs plugin.dll from Adobe)": photo304.dll
  User = 2,       // the user template of the template box (userTemplate)
  Macintosh = 3,  // "Macintosh FF (Mac Binary)": refused by the writer
  FF64 = 4,       // our 64-bit runtime: photo64.dll
};

// Which architectures a conversion to plugins writes: the template of the Preferences, the
// 64-bit runtime, the 32-bit one (the chosen 32-bit template, else 3.0), or both, the 32-bit
// plugin then beside the 64-bit one as NAME.x86.8bf.
enum class PluginArchitecture { Stored, X64, X86, Both };

struct FFOptions {
  bool noOptimize = false;  // "No FF Code Optimization"

  // Plugin writer; programDir holds photo30.dll, photo304.dll and temp.dll.
  std::filesystem::path programDir;
  FFTemplate usedFF = FFTemplate::FF30;  // UsedFF
  // The Photoshop template box: a Filter Factory plugin of 49152, 49664 or 57344 bytes. Used
  // with FFTemplate::User; empty refuses to write (kNoUserTemplate).
  std::filesystem::path userTemplate;
  bool allModes = false;      // "All Modes": every mode the template runs instead of RGB only
  bool editorPlugin = false;  // "Editor Plugin" (EditorPlugin 0): standalone word 0
  bool noDialog = false;      // "No Dialog": the plugin runs without its dialog
  bool bigPreview = false;    // "Big Preview" dialog layout
  bool megaPreview = false;   // "Mega Preview" dialog layout
  // Put before ".8bf" in written plugin names (".x86" when both architectures are written).
  std::string pluginNameSuffix;
  // A conversion writes each plugin once per architecture of this choice.
  PluginArchitecture architecture = PluginArchitecture::Stored;
};

}  // namespace qm::ff
