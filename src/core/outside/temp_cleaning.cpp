#include "core/outside/temp_cleaning.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace qm::outside {
namespace fs = std::filesystem;
namespace {

// A folder counts as emptied only when every entry in it went.
bool cleanFolder(const fs::path& folder, const FactsOf& facts, CleaningResult& result) {
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  if (ec) return false;
  bool emptied = true;
  for (fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return false;
    const fs::path entry = it->path();
    std::optional<EntryFacts> f = facts(entry);
    if (!f || !f->ownedByUs || f->kind == EntryKind::Other) {
      emptied = false;
      continue;
    }
    if (f->recent) {
      ++result.recent;
      emptied = false;
      continue;
    }
    if (f->kind == EntryKind::Folder && !cleanFolder(entry, facts, result)) {
      emptied = false;
      continue;
    }
    std::error_code removeError;
    fs::remove(entry, removeError);  // a link itself, or a folder now empty
    if (removeError) {
      if (result.failed++ == 0) result.reason = entry.string() + ": " + removeError.message();
      emptied = false;
    } else {
      ++result.removed;
      if (f->kind == EntryKind::File) result.bytes += f->size;
    }
  }
  return emptied;
}

}  // namespace

FactsOf diskFacts(std::chrono::system_clock::time_point now) {
  const auto limit = std::chrono::system_clock::to_time_t(now - std::chrono::hours(24));
  const uid_t us = ::geteuid();
  return [limit, us](const fs::path& path) -> std::optional<EntryFacts> {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    EntryFacts f;
    if (S_ISREG(st.st_mode))
      f.kind = EntryKind::File;
    else if (S_ISLNK(st.st_mode))
      f.kind = EntryKind::Link;
    else if (S_ISDIR(st.st_mode))
      f.kind = EntryKind::Folder;
    f.ownedByUs = st.st_uid == us;
    if (f.kind == EntryKind::File) f.size = static_cast<std::uint64_t>(st.st_size);
    f.recent = st.st_mtime > limit;
    return f;
  };
}

CleaningResult cleanTemporaryFolder(const fs::path& folder, const FactsOf& facts) {
  CleaningResult result;
  cleanFolder(folder, facts, result);
  return result;
}

std::optional<unsigned long long> freeBytes(const fs::path& path) {
  std::error_code ec;
  fs::space_info space = fs::space(path, ec);
  if (ec) return std::nullopt;
  return space.available;
}

std::string cleaningText(const CleaningResult& result) {
  char number[64];
  std::snprintf(number, sizeof number, " %.2f",
                static_cast<double>(result.bytes) / 1024.0 / 1024.0);
  std::string text = std::string(number) + " MB gained by cleaning the Temporary folder.";
  if (result.recent > 0)
    text += "\n\n" + std::to_string(result.recent) +
            " of your files or folders changed in the last 24 hours were kept.";
  if (result.failed > 0)
    text += "\n\n" + std::to_string(result.failed) + " could not be removed (" + result.reason +
            (result.failed > 1 ? ", ...)." : ").");
  return text;
}

}  // namespace qm::outside
