#include "core/shell/delete_tree.h"

namespace qm::shell {
namespace {

namespace stdfs = std::filesystem;

// Links are never followed, so a tree is finite; the limit only keeps a hostile, absurdly
// deep tree from exhausting the stack.
constexpr int kMaxDepth = 512;

DeleteTreeResult deleteTree(Fs& fs, const stdfs::path& folder, int depth) {
  DeleteTreeResult result;
  // The listing is taken once; unlike a restarted listing it cannot revisit an entry that
  // failed, so the loop always ends.
  if (auto entries = fs.list(folder)) {
    for (const auto& entry : *entries) {
      if (entry.isFolder) {
        if (depth >= kMaxDepth) continue;
        auto inner = deleteTree(fs, entry.path, depth + 1);
        result.failures += inner.failures;
        for (auto& item : inner.failed) result.failed.push_back(std::move(item));
      } else if (auto removed = fs.removeFile(entry.path); !removed) {
        ++result.failures;
        result.failed.push_back({entry.path, removed.error().message()});
      }
    }
  }
  result.removed = fs.removeEmptyFolder(folder).has_value();
  return result;
}

}  // namespace

DeleteTreeResult DeleteTree(Fs& fs, const stdfs::path& folder) {
  // Never a whole file system, never "nothing".
  if (folder.empty() || folder.relative_path().empty()) return {};
  // A link to a folder goes alone; what it points at belongs to another folder.
  if (!fs.isFolder(folder)) {
    DeleteTreeResult link;
    link.removed = fs.exists(folder) && fs.removeFile(folder).has_value();
    return link;
  }
  return deleteTree(fs, folder, 0);
}

std::string deleteTreeFailureText(int failures) {
  return " " + std::to_string(failures) +
         " files or folders couldn't be deleted.\rThey are probably used by running "
         "applications.";
}

}  // namespace qm::shell
