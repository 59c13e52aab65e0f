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
        if (depth < kMaxDepth) result.failures += deleteTree(fs, entry.path, depth + 1).failures;
      } else if (!fs.removeFile(entry.path)) {
        ++result.failures;
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
  if (!fs.isFolder(folder)) return {0, fs.exists(folder) && fs.removeFile(folder).has_value()};
  return deleteTree(fs, folder, 0);
}

std::string deleteTreeFailureText(int failures) {
  return " " + std::to_string(failures) +
         " files or folders couldn't be deleted.\rThey are probably used by running "
         "applications.";
}

}  // namespace qm::shell
