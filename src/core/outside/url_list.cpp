#include "core/outside/url_list.h"

#include "core/common/text_lines.h"

namespace qm::outside {
std::string_view urlListFileName(UrlListKind kind) {
  return kind == UrlListKind::Plugins ? "FilterURLs.txt" : "TubeURLs.txt";
}

std::string_view urlListTitle(UrlListKind kind) {
  return kind == UrlListKind::Plugins ? "Plugins" : "PSP Tubes";
}

std::vector<UrlEntry> parseUrlList(std::string_view text) {
  std::vector<UrlEntry> entries;
  for (std::string_view line : textLines(text)) {
    std::size_t split = line.find(';');
    if (split == std::string_view::npos)
      entries.push_back({std::string(trimEnds(line)), {}});
    else
      entries.push_back({std::string(trimEnds(line.substr(0, split))),
                         std::string(trimEnds(line.substr(split + 1)))});
  }
  return entries;
}

std::string formatUrlList(const std::vector<UrlEntry>& entries) {
  std::string text;
  for (const UrlEntry& e : entries) {
    if (!e.name.empty() || !e.url.empty()) text += e.name + ";" + e.url;
    text += "\r\n";
  }
  return text;
}

std::string saveQuestion(UrlListKind kind) {
  return "Do you want to save the changes in the " + std::string(urlListTitle(kind)) + " List ?";
}

std::string shareText(UrlListKind kind, std::string_view programDir) {
  std::string folder(programDir);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return "The URLs of this tab sheet are saved under\r\n\r\n" + folder +
         std::string(urlListFileName(kind));
}

}  // namespace qm::outside
