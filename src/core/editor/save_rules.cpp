#include "core/editor/save_rules.h"

namespace qm::editor {

std::string_view saveExtension(SaveFormat format) {
  switch (format) {
    case SaveFormat::PhotoshopPlugin:
      return ".8bf";
    case SaveFormat::Afs:
      return ".afs";
    case SaveFormat::Pff:
      return ".pff";
    case SaveFormat::Text:
      return ".txt";
  }
  return ".8bf";
}

std::optional<std::string> saveFileName(std::string_view fileNameText, SaveFormat format) {
  if (fileNameText.empty() || fileNameText == kPlaceholders[0]) return std::nullopt;
  std::size_t dot = fileNameText.rfind('.');
  std::string name(fileNameText.substr(0, dot));
  // A name that is only an extension would save as a hidden file with no name.
  if (name.empty()) return std::nullopt;
  return name + std::string(saveExtension(format));
}

SaveFormat saveFormatAt(int index) {
  static constexpr SaveFormat kOrder[] = {SaveFormat::PhotoshopPlugin, SaveFormat::Afs,
                                          SaveFormat::Pff, SaveFormat::Text};
  return index >= 0 && index < 4 ? kOrder[index] : SaveFormat::PhotoshopPlugin;
}

}  // namespace qm::editor
