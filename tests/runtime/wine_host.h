#pragma once
// Runs our test host (a Windows console program) under wine64 in one prefix per test program,
// with the wine server kept warm between calls, and converts filters with quillmark-cli.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/host/image.h"
#include "support/run_program.h"

namespace qm::test {

// A picture as the test host reads and writes it: width, height, channels, then the pixels.
struct RawPicture {
  int width = 0;
  int height = 0;
  int channels = 3;
  std::vector<std::uint8_t> pixels;
};

// Deterministic test pictures whose channels take many values, with alpha when channels is 4.
RawPicture patternPicture(int width, int height, int channels);
host::Image toImage(const RawPicture& picture);
// The channels of image (3 or 4) as a raw picture.
RawPicture fromImage(const host::Image& image, int channels);
bool writeRaw(const std::filesystem::path& file, const RawPicture& picture);
RawPicture readRaw(const std::filesystem::path& file);

class WineHost {
 public:
  WineHost();
  ~WineHost();
  // Empty when wine64 is there; else why not.
  const std::string& missing() const { return missing_; }
  // hostProgram: QM_PLUGIN_HOST or QM_PLUGIN_HOST_X86.
  ProgramRun run(const std::string& hostProgram, const std::vector<std::string>& args) const;

 private:
  std::filesystem::path prefix_;
  std::string missing_;
};

// quillmark-cli with the built program folder, so the built templates are used.
ProgramRun cli(std::vector<std::string> args);

}  // namespace qm::test
