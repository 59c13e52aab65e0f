#include "core/preferences/associations.h"

#include <algorithm>

#include "core/ff/plugin_file_io.h"

namespace qm::preferences {
namespace {

bool writeText(const std::filesystem::path& file, const std::string& text) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  return !ec && ff::replaceFile(file, std::vector<std::uint8_t>(text.begin(), text.end())).empty();
}

bool chosen(const std::vector<std::string_view>& extensions, const FileAssociation& a) {
  return std::find(extensions.begin(), extensions.end(), a.extension) != extensions.end();
}

// The distinct types of the chosen extensions in check box order (.afs and .pff share one).
std::vector<std::string_view> mimeTypes(const std::vector<std::string_view>& extensions) {
  std::vector<std::string_view> types;
  for (const auto& a : kAssociations)
    if (chosen(extensions, a) && std::find(types.begin(), types.end(), a.mimeType) == types.end())
      types.push_back(a.mimeType);
  return types;
}

}  // namespace

std::string execQuoted(std::string_view program) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  if (program.find_first_of(kReserved) == std::string_view::npos) return std::string(program);
  std::string quoted = "\"";
  for (char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  // Inside a desktop file's string value a backslash is itself escaped once more.
  std::string escaped;
  for (char c : quoted) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::vector<std::string_view> allAssociationExtensions() {
  std::vector<std::string_view> all;
  for (const auto& a : kAssociations) all.push_back(a.extension);
  return all;
}

std::string desktopEntry(std::string_view command,
                         const std::vector<std::string_view>& extensions) {
  std::string types;
  for (auto type : mimeTypes(extensions)) types += std::string(type) + ";";
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Quillmark\n"
         "GenericName=Plugin Organiser\n"
         "Comment=Organise image-editor plugins and build Filter Factory filters\n"
         "Exec=" +
         std::string(command) +
         " %f\n"
         "Icon=quillmark\n"
         "Terminal=false\n"
         "Categories=Graphics;2DGraphics;\n"
         "MimeType=" +
         types + "\n";
}

std::string mimePackage(const std::vector<std::string_view>& extensions) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (auto type : mimeTypes(extensions)) {
    auto first = std::find_if(kAssociations.begin(), kAssociations.end(),
                              [type](const auto& a) { return a.mimeType == type; });
    xml += "  <mime-type type=\"" + std::string(type) + "\">\n";
    xml += "    <comment>" + std::string(first->comment) + "</comment>\n";
    for (const auto& a : kAssociations)
      if (a.mimeType == type && chosen(extensions, a))
        xml += "    <glob pattern=\"*" + std::string(a.extension) + "\"/>\n";
    xml += "  </mime-type>\n";
  }
  xml += "</mime-info>\n";
  return xml;
}

std::vector<std::string> setAssociations(const std::filesystem::path& dataDir,
                                         std::string_view command,
                                         const std::vector<std::string_view>& extensions,
                                         const RunProgram& run) {
  std::vector<std::string> done;
  if (extensions.empty()) return done;
  if (!writeText(dataDir / "applications" / kDesktopFileName, desktopEntry(command, extensions)))
    return done;
  if (!writeText(dataDir / "mime" / "packages" / kMimePackageName, mimePackage(extensions)))
    return done;
  // The databases are refreshed where the desktop has the tools; without them the desktop
  // reads the files at its next start.
  run({"update-mime-database", (dataDir / "mime").string()});
  run({"update-desktop-database", (dataDir / "applications").string()});
  for (auto extension : extensions) {
    auto known = std::find_if(kAssociations.begin(), kAssociations.end(),
                              [extension](const auto& a) { return a.extension == extension; });
    if (known == kAssociations.end()) continue;
    if (!run({"xdg-mime", "default", std::string(kDesktopFileName), std::string(known->mimeType)}))
      continue;
    done.emplace_back(extension);
  }
  return done;
}

std::string removeAssociations(const std::filesystem::path& dataDir, const RunProgram& run) {
  std::string reason;
  for (const auto& file : {dataDir / "applications" / kDesktopFileName,
                           dataDir / "mime" / "packages" / kMimePackageName}) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (ec && reason.empty()) reason = file.string() + ": " + ec.message();
  }
  run({"update-mime-database", (dataDir / "mime").string()});
  run({"update-desktop-database", (dataDir / "applications").string()});
  return reason;
}

}  // namespace qm::preferences
