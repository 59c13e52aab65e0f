#include "core/outside/zip_commands.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace qm::outside {
namespace {

bool endsWithZip(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  std::ranges::transform(tail, tail.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".zip";
}

bool isProgram(const std::filesystem::path& file) {
  std::error_code ec;
  auto status = std::filesystem::status(file, ec);
  if (ec || !std::filesystem::is_regular_file(status)) return false;
  using std::filesystem::perms;
  return (status.permissions() & (perms::owner_exec | perms::group_exec | perms::others_exec)) !=
         perms::none;
}

// A name that starts with '-' would be read as an option.
std::string asOperand(std::string_view name) {
  if (!name.empty() && name.front() == '-') return "./" + std::string(name);
  return std::string(name);
}

}  // namespace

bool isZipArchiveName(std::string_view name) {
  return endsWithZip(name);
}

std::string presetZipName(std::string_view currentFile) {
  return endsWithZip(currentFile) ? std::string(currentFile) : std::string("New.zip");
}

std::optional<std::filesystem::path> findZipProgram(std::string_view searchPath,
                                                    const std::filesystem::path& programDir) {
  std::size_t start = 0;
  while (start <= searchPath.size()) {
    std::size_t end = searchPath.find(':', start);
    if (end == std::string_view::npos) end = searchPath.size();
    std::string_view folder = searchPath.substr(start, end - start);
    if (!folder.empty()) {
      std::filesystem::path candidate = std::filesystem::path(folder) / "zip";
      if (isProgram(candidate)) return candidate;
    }
    start = end + 1;
  }
  std::filesystem::path local = programDir / "zip";
  if (!programDir.empty() && isProgram(local)) return local;
  return std::nullopt;
}

CommandLine addToZipCommand(const std::filesystem::path& zip, const std::filesystem::path& folder,
                            std::string_view archiveName, const std::vector<std::string>& names) {
  CommandLine line{
      zip, {"-r", "-n", std::string(kStoredSuffixes), (folder / archiveName).string()}, folder};
  for (const std::string& name : names) line.arguments.push_back(asOperand(name));
  return line;
}

CommandLine testZipCommand(const std::filesystem::path& zip, const std::filesystem::path& archive) {
  return {zip, {"-T", asOperand(archive.filename().string())}, archive.parent_path()};
}

ZipProgressMeter::ZipProgressMeter(unsigned long long totalBytes, unsigned long long totalFiles)
    : dotKilobytes_(std::max<unsigned long long>(64, totalBytes / 1024 / 100)),
      totalKilobytes_(std::max<unsigned long long>(1, totalBytes / 1024)),
      totalFiles_(totalFiles) {}

std::vector<std::string> ZipProgressMeter::options() const {
  return {"-dg", "-ds", std::to_string(dotKilobytes_) + "k"};
}

int ZipProgressMeter::take(std::string_view output) {
  for (char c : output) {
    bool dot = c == '.' && (last_ == ' ' || last_ == '\a');
    if (dot) ++dots_;
    last_ = dot ? '\a' : c;  // '\a' marks a dot that counted
  }
  // Each file zip takes is said as "adding: NAME" or "updating: NAME".
  constexpr std::string_view kWords[] = {"adding: ", "updating: "};
  std::string text = tail_ + std::string(output);
  for (auto word : kWords)
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
      if (at + word.size() > tail_.size()) ++files_;
  tail_ = text.substr(text.size() > 9 ? text.size() - 9 : 0);
  const unsigned long long byBytes = dots_ * dotKilobytes_ * 100 / totalKilobytes_;
  const unsigned long long byFiles = totalFiles_ ? files_ * 100 / totalFiles_ : 0;
  return static_cast<int>(std::min<unsigned long long>(100, std::max(byBytes, byFiles)));
}

}  // namespace qm::outside
