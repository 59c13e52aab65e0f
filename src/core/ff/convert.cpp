#include "core/ff/convert.h"

#include <chrono>
#include <system_error>

#include "core/batch/overwrite_check.h"
#include "core/common/cp1252.h"
#include "core/common/safe_name.h"
#include "core/ff/ffl_convert.h"
#include "core/ff/file_names.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"
#include "core/ff/sources.h"
#include "core/ff/status_text.h"
#include "core/ff/target_writer.h"

namespace qm::ff {
namespace {

namespace fs = std::filesystem;

std::string_view withoutEnding(std::string_view name) {
  return name.substr(0, name.size() < 4 ? 0 : name.size() - 4);
}

// True when the reader named the record after its file (the ending aside, which some readers
// change): the name is then the disk's name squeezed into Windows-1252.
bool namedAfterItsFile(const FFRecord& rec, const fs::path& input) {
  return withoutEnding(rec.fileName) == withoutEnding(recordFileName(input));
}

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
  bool write(const fs::path& input, const std::string& outputName, FFRecord& rec);

  const ConvertOptions& options_;
  Prompter& prompter_;
  Progress& progress_;
  batch::OverwriteCheck check_;
  FolderChoice destination_;
  ConvertReport report_;
  std::vector<fs::path> inputs_;  // a library entry's name may be another input's
};

void ConvertRun::files(const std::vector<fs::path>& inputs) {
  inputs_ = inputs;
  const auto start = std::chrono::steady_clock::now();
  report_.inputsTotal = inputs.size();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (progress_.cancelled()) {
      report_.cancelled = true;
      return;
    }
    const auto& input = inputs[i];
    const bool isLibrary = inputKindOf(input.filename().string()) == InputKind::Library;
    if (!(isLibrary ? library(input) : single(input))) return;
    report_.inputsDone = i + 1;
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
  const FFLConvertOptions options{options_.target, options_.namesFromTitles, options_.ff,
                                  options_.libraryEntries, inputs_};
  auto result = Convertffl(folder, input, options, check_, prompter_, progress_);
  // A library with a wrong first line has had its own message.
  if (!result.isLibrary) report_.unreadable.push_back({input, {}});
  report_.cancelled = report_.cancelled || result.cancelled;
  report_.add(std::move(result));
  check_({}, {});
  return !report_.cancelled;
}

bool ConvertRun::single(const fs::path& input) {
  auto loaded = loadFilterFactoryFile(input, options_.ff, LoadPurpose::Conversion);
  if (!loaded) {
    report_.unreadable.push_back({input, loaded.error()});
    return true;
  }
  FFRecord& rec = *loaded;
  // A record named after its file takes the name as it stands on the disk; a name the file
  // itself holds (a .txt's "Filename" line) is Windows-1252 text.
  std::string name =
      namedAfterItsFile(rec, input) ? input.filename().string() : cp1252ToUtf8(rec.fileName);
  if (options_.namesFromTitles) {
    rec.fileName = RemoveCharsNoSpace(rec.title);
    name = cp1252ToUtf8(rec.fileName);
  }
  return write(input, name, rec);
}

bool ConvertRun::write(const fs::path& input, const std::string& outputName, FFRecord& rec) {
  const OutputRequest request{input, input,
                              targetPath(destination_.folder, options_.target, outputName),
                              options_.target, inputs_};
  if (convertOutput(request, rec, options_.ff, check_, report_)) return true;
  report_.cancelled = true;
  return false;
}

void ConvertRun::clipboard(const std::string& text) {
  if (text.empty()) return;
  // Read in memory: the program folder may be read-only and its files are not ours to replace.
  if (text.size() > kLargestSource) {
    report_.unreadable.push_back({{}, std::string(kSourceTooLarge)});
    return;
  }
  FFRecord rec;
  const ByteView bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  if (ReadTXTBytes(bytes, "Temp.txt", rec, options_.ff)) {
    if (options_.namesFromTitles) rec.fileName = RemoveChars(rec.title);
    write({}, cp1252ToUtf8(rec.fileName), rec);
  } else {
    report_.unreadable.push_back({{}, std::string(kNotFilterFactory)});
  }
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
    failed.failed.push_back({choice->folder, ec.message()});
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
