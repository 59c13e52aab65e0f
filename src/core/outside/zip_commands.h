#pragma once
// Command lines of Add to Zip and Test Zip for the outside `zip` program. The program is
// started without a shell, so every file name is an argument of its own.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::outside {

inline constexpr std::string_view kZipNameCaption = "Enter name for zip file";
inline constexpr std::string_view kZipNotFound =
    "The zip program was not found. Please install zip.";
// Suffixes stored as they are: compressing them again gains nothing.
inline constexpr std::string_view kStoredSuffixes = ".zip:.tif:.gif:.jpg:.arj:.rar";

struct CommandLine {
  std::filesystem::path program;
  std::vector<std::string> arguments;
  std::filesystem::path workingFolder;
};

// The name the question starts with: the current file when it is an archive, else "New.zip".
std::string presetZipName(std::string_view currentFile);

// `zip` on the search path (a ':'-separated list of folders), else in the program folder.
std::optional<std::filesystem::path> findZipProgram(std::string_view searchPath,
                                                    const std::filesystem::path& programDir);

// zip -r -n <suffixes> <folder>/<archive> <names...>, run in folder; names are relative to it
// and a folder among them goes in with its contents.
CommandLine addToZipCommand(const std::filesystem::path& zip, const std::filesystem::path& folder,
                            std::string_view archiveName, const std::vector<std::string>& names);

// zip -T <archive>, run in the archive's folder.
CommandLine testZipCommand(const std::filesystem::path& zip, const std::filesystem::path& archive);

// Progress of a zip run: with these options zip writes a dot for every share of the total
// bytes it has read, and a line for every file it takes; the meter turns its output into a
// percentage by whichever says more (many small files write few dots).
class ZipProgressMeter {
 public:
  explicit ZipProgressMeter(unsigned long long totalBytes, unsigned long long totalFiles = 0);
  // Options to put in front of the others.
  std::vector<std::string> options() const;
  // Takes output as it comes; returns the percentage so far. Dots count only in a run that
  // follows a blank, so the dots of file names do not.
  int take(std::string_view output);

 private:
  unsigned long long dotKilobytes_;
  unsigned long long totalKilobytes_;
  unsigned long long dots_ = 0;
  char last_ = '\n';
  unsigned long long totalFiles_;
  unsigned long long files_ = 0;
  std::string tail_;  // the end of the output so far, for a word cut between two pieces
};

// Test Zip works on the current file only when it is an archive.
bool isZipArchiveName(std::string_view name);

}  // namespace qm::outside
