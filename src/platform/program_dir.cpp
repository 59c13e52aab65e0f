#include "platform/program_dir.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <system_error>

#include "core/plugins/file_bytes.h"
#include "core/plugins/pe_header.h"
#include "core/shell/file_transfer.h"

namespace fs = std::filesystem;

namespace qm::platform {

fs::path shippedDataDir() {
  std::error_code ec;
  // An installed program uses its prefix's data even while the build tree it came from
  // still exists.
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    if (fs::path installed = exe.parent_path().parent_path() / "share" / "quillmark";
        fs::is_directory(installed, ec))
      return installed;
  }
#ifdef QM_BUILD_DATA_DIR
  if (fs::path built = QM_BUILD_DATA_DIR; fs::is_directory(built, ec)) return built;
#endif
  if (!exe.empty()) return exe.parent_path() / "data";
  return fs::current_path(ec) / "data";
}

fs::path sampleCollection(const fs::path& programDir) {
  std::error_code ec;
  if (fs::path own = programDir / "samples"; fs::is_directory(own, ec)) return own;
  return shippedDataDir() / "samples";
}

namespace {

// Templates of older builds held the Filter Factory fields and no code; a shipped template
// with our runtime replaces such a copy. A user's own template always holds code and stays.
bool replacesOldTemplate(const fs::path& shipped, const fs::path& existing) {
  const std::string name = shipped.filename().string();
  if (name != "photo30.dll" && name != "photo304.dll" && name != "photo64.dll") return false;
  // The copy in the program folder decides at nearly every start; the shipped one only then.
  auto existingBytes = plugins::FileBytes::open(existing);
  if (!existingBytes || plugins::peHoldsCode(*existingBytes)) return false;
  auto shippedBytes = plugins::FileBytes::open(shipped);
  return shippedBytes && plugins::peHoldsCode(*shippedBytes);
}

}  // namespace

void seedMissingFiles(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  shell::DiskFs disk;
  if (!fs::is_directory(from, ec)) return;
  fs::create_directories(to, ec);
  for (auto it = fs::recursive_directory_iterator(from, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    // The sample collection and the plugin host are used from the shipped folder (a copy would
    // outlive an update), and the build tree's data folder also holds CMake's own files and
    // the Wine prefix of a run from there: the program folder needs none of them.
    const std::string name = it->path().filename().string();
    if (it.depth() == 0 &&
        (name == "samples" || name == "plughost" || name == "wine" || name.starts_with("CMake") ||
         name.starts_with("cmake_") || name.starts_with("CTest"))) {
      it.disable_recursion_pending();
      continue;
    }
    fs::path target = to / fs::relative(it->path(), from, ec);
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
    } else if (!fs::exists(target, ec) || replacesOldTemplate(it->path(), target)) {
      // A failed copy leaves the file as it was; the next start tries again.
      (void)shell::copyReplacing(disk, it->path(), target);
    }
  }
}

fs::path resolveProgramDir(const std::optional<std::string>& explicitDir) {
  if (explicitDir && !explicitDir->empty()) return fs::absolute(*explicitDir);
  if (const char* env = std::getenv("QUILLMARK_PROGRAM_DIR"); env && *env) return fs::absolute(env);
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  fs::path dir = fs::path(base.toStdString()) / "Quillmark";
  seedMissingFiles(shippedDataDir(), dir);
  return dir;
}

}  // namespace qm::platform
