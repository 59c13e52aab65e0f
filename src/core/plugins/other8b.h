#pragma once
// Files of the plugin type table: their category "[label]" and display name.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/byte_view.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/type_table.h"

namespace qm::plugins {

struct OtherResult {
  std::string category;  // "[label]" or "[Other Plugins]"
  std::string name;      // UTF-8 for showing (a version string is converted)
  bool ok = false;       // both texts non-empty
};

OtherResult ReadOther8b(const std::filesystem::path& file, const PlugTypeTable& table);
// fileName: the name without folder, as the file system has it; bytes: the whole file.
OtherResult ReadOther8bBytes(ByteView bytes, std::string_view fileName, const PlugTypeTable& table);

// From an opened file: the whole file is read only when a version string is looked up.
OtherResult ReadOther8bFrom(FileBytes& file, std::string_view fileName, const PlugTypeTable& table);

// The name a file gets without a version string: cut before the first "." (else the first
// "_"), first character upper-cased; UTF-8, bad bytes shown as U+FFFD.
std::string displayNameFromFileName(std::string_view fileName);

}  // namespace qm::plugins
