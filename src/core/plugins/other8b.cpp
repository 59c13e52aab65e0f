#include "core/plugins/other8b.h"

#include <optional>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/text_util.h"
#include "core/plugins/version_resource.h"

namespace qm::plugins {
namespace {

std::optional<VersionKey> versionKeyOf(std::string_view digit) {
  if (digit == "0") return VersionKey::FileDescription;
  if (digit == "1") return VersionKey::InternalName;
  if (digit == "2") return VersionKey::ProductName;
  return std::nullopt;
}

// Shared by both entry points; lookup reads the version string only when a row asks for one.
template <typename Lookup>
OtherResult identify(std::string_view fileName, const PlugTypeTable& table, Lookup lookup) {
  OtherResult result;
  result.category = "[Other Plugins]";
  if (auto index = table.match(fileName)) {
    const TypeRow& row = table.rows()[*index];
    result.category = "[" + row.label + "]";
    if (auto key = versionKeyOf(row.digit)) result.name = cp1252ToUtf8(lookup(*key));
  }
  if (result.name.empty()) result.name = displayNameFromFileName(fileName);
  result.ok = !result.category.empty() && !result.name.empty();
  return result;
}

}  // namespace

std::string displayNameFromFileName(std::string_view fileName) {
  std::string name = displayText(fileName);
  if (auto dot = name.find('.'); dot != std::string::npos) {
    name.resize(dot);
  } else if (auto underscore = name.find('_'); underscore != std::string::npos) {
    name.resize(underscore);
  }
  return withUpperFirst(name);
}

OtherResult ReadOther8b(const std::filesystem::path& file, const PlugTypeTable& table) {
  return identify(file.filename().native(), table,
                  [&](VersionKey key) { return ReadVersionRessource(file, key); });
}

OtherResult ReadOther8bFrom(FileBytes& file, std::string_view fileName,
                            const PlugTypeTable& table) {
  return identify(fileName, table,
                  [&](VersionKey key) { return ReadVersionRessourceBytes(file.all(), key); });
}

OtherResult ReadOther8bBytes(ByteView bytes, std::string_view fileName,
                             const PlugTypeTable& table) {
  return identify(fileName, table,
                  [&](VersionKey key) { return ReadVersionRessourceBytes(bytes, key); });
}

}  // namespace qm::plugins
