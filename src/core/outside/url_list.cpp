#include "core/outside/url_list.h"

#include "core/common/text_lines.h"
#include "core/common/unicode_text.h"
#include "core/ff/plugin_file_io.h"

namespace qm::outside {
std::string_view urlListFileName(UrlListKind kind) {
  return kind == UrlListKind::Plugins ? "FilterURLs.txt" : "TubeURLs.txt";
}

std::string_view urlListTitle(UrlListKind kind) {
  return kind == UrlListKind::Plugins ? "Plugins" : "PSP Tubes";
}

std::vector<UrlEntry> parseUrlList(std::string_view text, std::vector<std::size_t>* longLines) {
  std::vector<UrlEntry> entries;
  std::size_t start = 0;
  for (std::size_t number = 1; start < text.size(); ++number) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.size() > kLongestUrlLine) {
      if (longLines) longLines->push_back(number);
      continue;
    }
    std::size_t split = line.find(';');
    if (split == std::string_view::npos)
      entries.push_back({std::string(trimEnds(line)), {}});
    else
      entries.push_back({std::string(trimEnds(line.substr(0, split))),
                         std::string(trimEnds(line.substr(split + 1)))});
  }
  return entries;
}

UrlListRead readUrlList(const std::filesystem::path& file) {
  UrlListRead read;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return read;
  const std::string name = displayPath(file);
  auto bytes = ff::readFileBytes(file, kLargestUrlList, "larger than 4 MB, so it was not read");
  if (!bytes) {
    read.problem = name + ": " + bytes.error();
    return read;
  }
  std::vector<std::size_t> longLines;
  read.entries = parseUrlList(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &longLines);
  if (!longLines.empty()) {
    std::string numbers;
    for (std::size_t n : longLines) numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
    read.problem = name + ": line " + numbers + " is longer than 8 KB and was left out";
  }
  return read;
}

namespace {

std::optional<std::string> refusalOf(std::string_view what, std::string_view text,
                                     std::string_view forbidden) {
  const auto at = text.find_first_of(forbidden);
  if (at == std::string_view::npos) return std::nullopt;
  const char c = text[at];
  const std::string shown =
      c == '\r' || c == '\n' ? std::string("a line break") : "\"" + std::string(1, c) + "\"";
  return std::string(what) + " cannot contain " + shown + ".";
}

}  // namespace

std::optional<std::string> urlNameRefusal(std::string_view name) {
  if (name.size() > kLongestUrlLine / 2) return "The name is too long.";
  return refusalOf("The name", name, ";\r\n");
}

std::optional<std::string> urlRefusal(std::string_view url) {
  if (url.size() > kLongestUrlLine / 2) return "The URL is too long.";
  return refusalOf("The URL", url, "\r\n");
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
