#pragma once
// The PiPL properties beyond category and name that say where a filter runs: its supported
// image modes, its enable-info expression and the processors it has entry points for.

#include <cstdint>
#include <optional>
#include <string>

#include "core/common/byte_view.h"
#include "core/plugins/image_modes.h"

namespace qm::plugins {

enum EntryPoint : std::uint8_t { kEntryX86 = 1, kEntryX64 = 2, kEntryArm64 = 4 };

struct PiplProperties {
  std::optional<ModeSet> supportedModes;
  std::optional<std::string> enableInfo;  // Windows-1252 bytes as stored
  std::uint8_t entryPoints = 0;           // EntryPoint bits
};

// data: one PIPL resource as stored in a Windows file (the 16-bit prefix first). Properties
// are walked by their headers; a header running past the data ends the walk.
PiplProperties readPiplProperties(ByteView data);

// The processors a filter runs on: "x86", "x64", "arm64", or "both" when the PiPL names entry
// points for x86 and x64; the PE machine when the PiPL names none.
std::optional<std::string> architectureText(std::uint8_t entryPoints,
                                            const std::optional<std::string>& peMachine);

}  // namespace qm::plugins
