#pragma once
// "Set Associations" on a freedesktop desktop: a desktop entry and a MIME package in a data
// folder ($XDG_DATA_HOME for the user, the install prefix's share for everyone), then the
// desktop's databases and the default program of each chosen type.

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::preferences {

inline constexpr std::string_view kAssociationsSet = "The associations were set.";
inline constexpr std::string_view kAssociationsRemoved = "The associations were removed.";
inline constexpr std::string_view kDesktopFileName = "quillmark.desktop";
inline constexpr std::string_view kMimePackageName = "quillmark.xml";

struct FileAssociation {
  std::string_view extension;  // with the dot, as the check box says
  std::string_view mimeType;
  std::string_view comment;
};

// The check boxes of the General page, in their order.
inline constexpr std::array<FileAssociation, 5> kAssociations = {{
    {".8bf", "application/x-photoshop-filter", "Photoshop-compatible filter plugin"},
    {".prm", "application/x-premiere-plugin", "Premiere plugin"},
    {".ffl", "application/x-filter-factory-library", "Filter Factory library"},
    {".afs", "application/x-filter-factory-source", "Filter Factory source"},
    {".pff", "application/x-filter-factory-source", "Filter Factory source"},
}};

// Every extension of the check boxes, in their order.
std::vector<std::string_view> allAssociationExtensions();

// The desktop entry claiming the types of extensions; `command` is the program as Exec names
// it ("quillmark" when installed).
std::string desktopEntry(std::string_view command, const std::vector<std::string_view>& extensions =
                                                       allAssociationExtensions());
// The MIME package declaring the type of each of extensions, each with its glob.
std::string mimePackage(
    const std::vector<std::string_view>& extensions = allAssociationExtensions());
// A program path as an Exec key needs it: quoted (with escapes) when it holds a blank or a
// reserved character.
std::string execQuoted(std::string_view program);

// Runs a program with its arguments (no shell); false when it is missing or fails.
using RunProgram = std::function<bool(const std::vector<std::string>& argv)>;

// Writes <dataDir>/applications/quillmark.desktop and <dataDir>/mime/packages/quillmark.xml,
// refreshes the MIME and desktop databases, and makes the program the default of each chosen
// extension's type. A step that fails ends the work for that extension quietly; returns the
// extensions that got all their steps.
std::vector<std::string> setAssociations(const std::filesystem::path& dataDir,
                                         std::string_view command,
                                         const std::vector<std::string_view>& extensions,
                                         const RunProgram& run);

// "Remove Associations": removes the two files setAssociations writes and refreshes the
// databases, so the desktop forgets the program's claims. The reason when a file stays
// behind, else empty.
std::string removeAssociations(const std::filesystem::path& dataDir, const RunProgram& run);

}  // namespace qm::preferences
