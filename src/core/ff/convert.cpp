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

std::string lowerEnding(std::string_view name) {
  std::string ending(name.substr(name.size() < 4 ? 0 : name.size() - 4));
  for (char& c : ending)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ending;
}

void translateToPhotoshop(FFRecord& rec) {
  for (auto& formula : rec.formulas) formula = Correctprmcode(formula);
  // Set together with the translation so no writer translates the formulas again.
  rec.photoshopDialect = true;
}

void replaceExtension(std::string& fileName, std::string_view extension) {
  fileName.resize(fileName.size() < 4 ? 0 : fileName.size() - 4);
  fileName += extension;
}

// Reads by kind; Premiere plugins try Filter Factory first, then Transition Factory.
bool readByKind(InputKind kind, const fs::path& file, FFRecord& rec, const FFOptions& options) {
  switch (kind) {
    case InputKind::Text:
      return ReadTXT(file, rec, options);
    case InputKind::Plugin:
      return Read8bf(file, rec, false, true, options);
    case InputKind::Premiere:
      return Readprm(file, rec, false, true, options) || ReadTF(file, rec, false, options);
    case InputKind::Afs:
      return ReadAFS(file, rec, options);
    case InputKind::Pff:
      return ReadPFF(file, rec, options);
    case InputKind::Ffx:
      return ReadFFX(file, rec);
    case InputKind::Library:
    case InputKind::Unknown:
      break;
  }
  return false;
}

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
  const FFLConvertOptions options{options_.target, options_.namesFromTitles, options_.ff};
  auto result = Convertffl(folder, input, options, check_, prompter_, progress_);
  if (!result.isLibrary) report_.unreadable.push_back(input);
  report_.cancelled = report_.cancelled || result.cancelled;
  report_.add(std::move(result));
  check_({}, {});
  return !report_.cancelled;
}

bool ConvertRun::single(const fs::path& input) {
  FFRecord rec;
  if (!ReadFFfile(input, rec, options_.ff)) {
    report_.unreadable.push_back(input);
    return true;
  }
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
  const OutputRequest request{
      input, input, targetPath(destination_.folder, options_.target, outputName), options_.target};
  if (convertOutput(request, rec, options_.ff, check_, report_)) return true;
  report_.cancelled = true;
  return false;
}

void ConvertRun::clipboard(const std::string& text) {
  if (text.empty()) return;
  const fs::path temp = options_.ff.programDir / "Temp.txt";
  if (auto reason = replaceFile(temp, std::vector<std::uint8_t>(text.begin(), text.end()));
      !reason.empty()) {
    report_.failed.push_back({{}, "could not write " + temp.string() + ": " + reason});
    return;
  }
  FFRecord rec;
  if (ReadTXT(temp, rec, options_.ff)) {
    if (options_.namesFromTitles) rec.fileName = RemoveChars(rec.title);
    write({}, cp1252ToUtf8(rec.fileName), rec);
  } else {
    report_.unreadable.push_back({});
  }
  std::error_code ec;
  fs::remove(temp, ec);
}

}  // namespace

InputKind inputKindOf(std::string_view fileName) {
  const auto ending = lowerEnding(fileName);
  if (ending == ".txt") return InputKind::Text;
  if (ending == ".8bf" || ending == "._bf" || ending == ".bin" || ending == "_8bf")
    return InputKind::Plugin;
  if (ending == ".prm" || ending == "._rm" || ending == "_prm") return InputKind::Premiere;
  if (ending == ".afs") return InputKind::Afs;
  if (ending == ".pff") return InputKind::Pff;
  if (ending == ".ffx") return InputKind::Ffx;
  if (ending == ".ffl") return InputKind::Library;
  return InputKind::Unknown;
}

bool ReadFFfile(const fs::path& file, FFRecord& rec, const FFOptions& options) {
  const auto kind = inputKindOf(file.filename().string());
  if (!readByKind(kind, file, rec, options)) return false;
  // A source without its trailer carries no title of its own.
  if (kind == InputKind::Afs || kind == InputKind::Pff || kind == InputKind::Ffx)
    return rec.fileName != rec.title;
  return true;
}

bool LoadFile(const fs::path& file, FFRecord& rec, const FFOptions& options) {
  const auto kind = inputKindOf(file.filename().string());
  if (!readByKind(kind, file, rec, options)) return false;
  if (kind == InputKind::Premiere || kind == InputKind::Pff) translateToPhotoshop(rec);
  if (kind == InputKind::Text) replaceExtension(rec.fileName, ".txt");
  if (kind == InputKind::Afs) replaceExtension(rec.fileName, ".afs");
  if (kind == InputKind::Pff) replaceExtension(rec.fileName, ".pff");
  return true;
}

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
