#pragma once
// The editor's "Save": name from the file-name text, folder from the passive pane or the
// Select Folder dialog, the overwrite question, then the writer of the chosen format.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/ports.h"
#include "core/editor/save_rules.h"
#include "core/ff/options.h"
#include "core/ff/plugin_architecture.h"
#include "core/ff/record.h"

namespace qm::editor {

struct SaveRequest {
  ff::FFRecord record;  // gathered
  SaveFormat format = SaveFormat::PhotoshopPlugin;
  // "Suppress the Select Folder dialog": save into passiveFolder without asking.
  bool usePassiveFolder = false;
  std::filesystem::path passiveFolder;
  ff::FFOptions options;
  // Plugins only: the architectures written, as the Convert window offers them.
  ff::PluginArchitecture architecture = ff::PluginArchitecture::Stored;
};

inline constexpr std::string_view kSaveTitle = "Save Filter";

// Asked before a source whose formulas do not compile is written; firstError as `check`
// words it ("R:3: unexpected end of formula").
std::string formulaErrorQuestion(std::string_view firstError);

// The (first) file written, or none (no name, no folder chosen, not overwritten, or the writer's
// refusal, which is shown through prompter).
std::optional<std::filesystem::path> saveFilter(const SaveRequest& request, Prompter& prompter);

}  // namespace qm::editor
