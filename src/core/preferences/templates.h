#pragma once
// The template boxes of the Filter Factory page: which Photoshop plugins may serve as the
// user template, and the Filter Factory options that follow from the Preferences.

#include <filesystem>
#include <string_view>

#include "core/ff/options.h"
#include "core/settings/options.h"

namespace qm::preferences {

inline constexpr std::string_view kUnknownFFTemplate = "Qumo doesn't know this FF plugin type.";

// A Photoshop Filter Factory plugin is known by its size: 49152, 49664, 57344 (PC), 99712 or
// 99840 (Mac Binary) bytes.
bool isKnownTemplateSize(std::uintmax_t size);
// False for a file that is missing, unreadable or of another size.
bool isKnownTemplate(const std::filesystem::path& file);

// The Filter Factory options the writers read, from the Preferences options.
ff::FFOptions ffOptionsFrom(const settings::Options& options,
                            const std::filesystem::path& programDir);

}  // namespace qm::preferences
