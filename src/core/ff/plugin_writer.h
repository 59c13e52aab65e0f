#pragma once
// Writes a .8bf plugin from the record by copying a template plugin and patching it.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/ff/options.h"
#include "core/ff/record.h"
#include "core/ff/write_result.h"

namespace qm::ff {

inline constexpr std::string_view kNoUserTemplate =
    "No user template is chosen; nothing was written. Please choose a template plugin or "
    "another template on the FF/TF page of the Preferences.";

// Template: options.usedFF picks photo30.dll / photo304.dll of options.programDir or the user
// template (49152, 49664 or 57344 bytes; other sizes write nothing); the Macintosh choice is
// refused. Menu title and category are cut to 34 characters, data-block texts to 255, each
// cut reported as a warning; a formula longer than 1020 characters, or one that does not
// compile ("R:5: unknown name 'pow'"), is refused (nothing written). With our own templates
// "No Dialog" writes dialog word 0 and "All Modes" offers the modes the runtime runs; a user
// template keeps its dialog word under "No Dialog" and is offered every mode. Every text
// field is filled with zeros after its text. The output is written to a temporary file and
// renamed, so a failed write leaves any existing file as it was. Output name: fileName with
// ".8bf" (a fileName without "." gets ".8bf" appended in the record unless it ends in "_8bf").
// preview: write "temp.dll" into folder from the program folder's temp.dll (made from
// photo30.dll when missing), without the supported-modes word and with dialog word 0.
// editor: the standalone word is written as 0 whatever the options say.
// Changes the record as the writer does: "[Premiere FF]" becomes "Premiere(converted)", and
// Premiere formulas are translated (photoshopDialect becomes true with them).
WriteResult Write8bf(const std::filesystem::path& folder, bool preview, bool editor, FFRecord& rec,
                     const FFOptions& options);
// The same into target, whatever the record's fileName says (the conversion run names it).
WriteResult Write8bfTo(const std::filesystem::path& target, FFRecord& rec,
                       const FFOptions& options);

// NAME.8bf becomes NAME<options.pluginNameSuffix>.8bf: where this architecture's plugin goes.
std::filesystem::path withPluginNameSuffix(const std::filesystem::path& file,
                                           const FFOptions& options);

}  // namespace qm::ff
