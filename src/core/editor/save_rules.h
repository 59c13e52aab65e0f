#pragma once
// Where the editor's "Save" writes: the format codes of "Choose Save Format" and the output
// name made from the file-name text.

#include <optional>
#include <string>
#include <string_view>

namespace qm::editor {

// Codes of "Choose Save Format"; 1 (Premiere plugin) is never written.
enum class SaveFormat { PhotoshopPlugin = 0, Afs = 2, Pff = 3, Text = 4 };

inline constexpr std::string_view kFileNameMissing = "Filename isn't specified!";

// The texts a reset puts into the five labels: file name, category, title, author, copyright.
inline constexpr std::string_view kPlaceholders[5] = {"Filename", "Category", "Filtername",
                                                      "Author", "Copyright"};

std::string_view saveExtension(SaveFormat format);

// The file-name text up to its last "." followed by the format's extension; nothing when the
// text is empty or still the placeholder.
std::optional<std::string> saveFileName(std::string_view fileNameText, SaveFormat format);

// The code of a "Choose Save Format" entry index (0..3).
SaveFormat saveFormatAt(int index);

}  // namespace qm::editor
