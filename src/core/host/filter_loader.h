#pragma once
// Finding the Filter Factory filter behind a file name, for running it.

#include <filesystem>
#include <optional>
#include <string>

#include "core/common/outcome.h"
#include "core/ff/options.h"
#include "core/ff/record.h"

namespace qm::host {

// Any file the editor loads (plugins, Premiere plugins translated to the Photoshop dialect,
// sources), or "LIB.ffl#N" for entry N (1-based) of a library when no file has that very
// name. Otherwise the message about argument, worded for the user ("x.afs: not a Filter
// Factory file", "x.8bf: No such file or directory", ...).
Outcome<ff::FFRecord, std::string> loadFilter(const std::string& argument,
                                              const ff::FFOptions& options);

// What the plugin host loads: a Filter Factory plugin (.8bf and its disabled spellings, .bin,
// .prm, or any other name such as the editor's temp.dll, read as a Windows plugin), its
// formulas as stored so the result matches the plugin itself. Premiere formulas come back in
// the Photoshop dialect.
std::optional<ff::FFRecord> loadPluginFilter(const std::filesystem::path& file);

// The library entry that starts at byte position (none for a deleted entry or a library
// over 64 MB), in the Photoshop dialect.
std::optional<ff::FFRecord> loadLibraryEntryAt(const std::filesystem::path& library,
                                               std::size_t position);

}  // namespace qm::host
