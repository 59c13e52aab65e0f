#include "core/ff/convert.h"

#include <chrono>
#include <fstream>
#include <system_error>

#include "core/batch/overwrite_check.h"
#include "core/common/safe_name.h"
#include "core/ff/ffl_convert.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"
#include "core/ff/sources.h"
#include "core/ff/status_text.h"
#include "core/ff/target_writer.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;

// The state one run shares between its files.
class ConvertRun {
 public:
  ConvertRun(const ConvertOptions& options, Prompter& prompter, Progress& progress,
             FolderChoice destination)
      : options_(options),
        prompter_(prompter),
        progress_(progress),
        check_(prompter),
        destination_(std::move(destination)) {
    check_({}, {});
  }
  ~ConvertRun() { progress_.status(""); }

  void files(const std::vector<fs::path>& inputs);
  void clipboard(const std::string& text);
  ConvertReport take() {
    check_({}, {});
    return std::move(report_);
  }

 private:
  // Each returns false when the run must stop.
  bool library(const fs::path& input);
  bool single(const fs::path& input);
  bool checkAndWrite(const fs::path& input, FFRecord& rec, bool blanksToo);

  const ConvertOptions& options_;
  Prompter& prompter_;
  Progress& progress_;
  batch::OverwriteCheck check_;
  FolderChoice destination_;
  ConvertReport report_;
};

void ConvertRun::files(const std::vector<fs::path>& inputs) {
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (progress_.cancelled()) {
      report_.cancelled = true;
      return;
    }
    const auto& input = inputs[i];
    const bool isLibrary = inputKindOf(input.filename().string()) == InputKind::Library;
    if (!(isLibrary ? library(input) : single(input))) return;
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    progress_.status(countOfWithTime(static_cast<long long>(i + 1),
                                     static_cast<long long>(inputs.size()), elapsed.count()));
  }
}

bool ConvertRun::library(const fs::path& input) {
  fs::path folder = destination_.folder;
  if (destination_.createSubFolders) {
    // A sub folder per library, named after the library less its ending.
    std::string name = input.filename().string();
    name.resize(name.size() < 4 ? 0 : name.size() - 4);
    folder /= plainFileName(name);
  }
  auto result = Convertffl(folder, input, options_.target, options_.namesFromTitles, options_.ff,
                           prompter_, progress_);
  if (!result.isLibrary) report_.unreadable.push_back(input);
  report_.written.insert(report_.written.end(), result.written.begin(), result.written.end());
  report_.failures.insert(report_.failures.end(), result.failures.begin(), result.failures.end());
  check_({}, {});
  if (result.cancelled) report_.cancelled = true;
  return !result.cancelled;
}

bool ConvertRun::single(const fs::path& input) {
  FFRecord rec;
  if (!ReadFFfile(input, rec, options_.ff)) {
    report_.unreadable.push_back(input);
    return true;
  }
  return checkAndWrite(input, rec, false);
}

bool ConvertRun::checkAndWrite(const fs::path& input, FFRecord& rec, bool blanksToo) {
  // The question tests the plain name the writer will use, not a path the file suggests.
  auto asked =
      pathInFolder(destination_.folder, GetFilname(options_.target, plainFileName(rec.fileName)));
  switch (check_(input, asked)) {
    case batch::OverwriteDecision::Cancel:
      report_.cancelled = true;
      return false;
    case batch::OverwriteDecision::Skip:
      report_.skipped.push_back(input);
      return true;
    case batch::OverwriteDecision::Write:
      break;
  }
  if (options_.namesFromTitles)
    rec.fileName = blanksToo ? RemoveChars(rec.title) : RemoveCharsNoSpace(rec.title);
  auto write = WriteForTarget(destination_.folder, options_.target, rec, options_.ff);
  if (!write.written.empty())
    report_.written.push_back(write.written);
  else if (write.error.empty())
    report_.skipped.push_back(input);  // a Premiere target: nothing to write
  if (!write.error.empty()) report_.failures.push_back(write.error);
  return true;
}

void ConvertRun::clipboard(const std::string& text) {
  if (text.empty()) return;
  const fs::path temp = options_.ff.programDir / "Temp.txt";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
      report_.failures.push_back(temp.string() + ": could not be written");
      return;
    }
  }
  FFRecord rec;
  if (ReadTXT(temp, rec, options_.ff))
    checkAndWrite({}, rec, true);
  else
    report_.unreadable.push_back({});
  std::error_code ec;
  fs::remove(temp, ec);
}

}  // namespace

ConvertReport cmd_Convert(const std::vector<fs::path>& files, const ConvertOptions& options,
                          Prompter& prompter, Progress& progress) {
  auto choice = prompter.chooseFolder({});
  if (!choice || choice->folder.empty()) {
    ConvertReport none;
    none.noDestination = true;
    return none;
  }
  // The desktop's folder dialog asks before it creates a folder; a folder that still does
  // not exist here was named on purpose (quillmark-cli --dest) and is created.
  std::error_code ec;
  fs::create_directories(choice->folder, ec);
  if (ec) {
    ConvertReport failed;
    failed.failures.push_back(choice->folder.string() + ": " + ec.message());
    return failed;
  }
  ConvertRun run(options, prompter, progress, *choice);
  if (options.clipboardText)
    run.clipboard(*options.clipboardText);
  else
    run.files(files);
  return run.take();
}

}  // namespace qm::ff
