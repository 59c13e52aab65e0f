#pragma once
// Runs our test host (a Windows console program) under wine64 in one prefix per test program,
// with the wine server kept warm between calls, and converts filters with quillmark-cli.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/host/image.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace qm::test {

// A picture as the test host reads and writes it: width, height, channels, then the pixels.
struct RawPicture {
  int width = 0;
  int height = 0;
  int channels = 3;
  std::vector<std::uint8_t> pixels;
};

// Deterministic pictures whose channels take many values, with alpha when channels is 4.
inline RawPicture patternPicture(int width, int height, int channels) {
  RawPicture p{width, height, channels, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c)
        p.pixels.push_back(static_cast<std::uint8_t>(x * 7 + y * 3 + c * 50 + (x * y) % 13));
  return p;
}

inline host::Image toImage(const RawPicture& picture) {
  host::Image img = host::Image::blank(picture.width, picture.height, picture.channels == 4);
  for (std::size_t i = 0; i < static_cast<std::size_t>(picture.width) * picture.height; ++i)
    for (int c = 0; c < picture.channels; ++c)
      img.rgba[i * 4 + c] = picture.pixels[i * picture.channels + c];
  return img;
}

// The channels of image (3 or 4) as a raw picture.
inline RawPicture fromImage(const host::Image& image, int channels) {
  RawPicture p{image.width, image.height, channels, {}};
  for (std::size_t i = 0; i < static_cast<std::size_t>(image.width) * image.height; ++i)
    for (int c = 0; c < channels; ++c) p.pixels.push_back(image.rgba[i * 4 + c]);
  return p;
}

inline bool writeRaw(const std::filesystem::path& file, const RawPicture& picture) {
  std::ofstream out(file, std::ios::binary);
  for (int v : {picture.width, picture.height, picture.channels})
    for (int k = 0; k < 4; ++k) out.put(static_cast<char>(std::uint32_t(v) >> (8 * k)));
  out.write(reinterpret_cast<const char*>(picture.pixels.data()),
            static_cast<std::streamsize>(picture.pixels.size()));
  return static_cast<bool>(out);
}

inline RawPicture readRaw(const std::filesystem::path& file) {
  const std::string bytes = readFile(file);
  RawPicture p;
  if (bytes.size() < 12) return p;
  auto word = [&](int k) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(bytes[4 * k + i]);
    return static_cast<int>(v);
  };
  p.width = word(0);
  p.height = word(1);
  p.channels = word(2);
  p.pixels.assign(bytes.begin() + 12, bytes.end());
  return p;
}

class WineHost {
 public:
  WineHost() {
    std::error_code ec;
    if (!std::filesystem::exists(QM_WINE, ec)) {
      missing_ = "wine64 is not installed";
      return;
    }
    prefix_ = std::filesystem::temp_directory_path() / ("qm-wine-" + std::to_string(::getpid()));
    // The server stays up between calls: a warm call costs a fifth of a second, a cold one
    // several seconds.
    runProgram("/usr/bin/env",
               {"WINEPREFIX=" + prefix_.string(), "WINEDEBUG=-all", QM_WINESERVER, "-p"});
  }
  ~WineHost() {
    if (prefix_.empty()) return;
    runProgram("/usr/bin/env", {"WINEPREFIX=" + prefix_.string(), QM_WINESERVER, "-k"});
    std::error_code ec;
    std::filesystem::remove_all(prefix_, ec);
  }
  // Empty when wine64 is there; else why not.
  const std::string& missing() const { return missing_; }
  // hostProgram: QM_PLUGIN_HOST or QM_PLUGIN_HOST_X86. No display: dialogs and message boxes
  // cannot open, and the filter runs at once.
  ProgramRun run(const std::string& hostProgram, const std::vector<std::string>& args) const {
    std::vector<std::string> all = {
        "-u", "DISPLAY", "WINEPREFIX=" + prefix_.string(), "WINEDEBUG=-all", QM_WINE, hostProgram};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram("/usr/bin/env", all);
  }

 private:
  std::filesystem::path prefix_;
  std::string missing_;
};

// quillmark-cli with the built program folder, so the built templates are used.
inline ProgramRun cli(std::vector<std::string> args) {
  args.insert(args.begin(), {"--program-dir", QM_DATA_DIR});
  return runProgram(QM_CLI, args);
}

}  // namespace qm::test
