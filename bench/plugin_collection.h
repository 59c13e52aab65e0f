#pragma once
// A generated collector's folder tree for the catalogue benchmarks: PE filters whose PiPLs
// carry names, categories, modes, enable-info expressions and entry points (one to three
// filters each, x86, x64 or both), old PIMI/_8BFM plugins, After Effects and Premiere plugins,
// Filter Factory plugins and sources, disabled plugins, type-table files, files of no kind and
// byte-identical copies, in nested folders. Every byte is made here. Include once per program
// (it includes the test writers' sources).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "../tests/support/ff_sources.cpp"
#include "../tests/support/ff_sources.h"
#include "../tests/support/pe_builder.cpp"
#include "../tests/support/pe_builder.h"
#include "../tests/support/premiere_records.cpp"
#include "../tests/support/premiere_records.h"
#include "core/common/cp1252.h"
#include "core/ff/plugin_writer.h"

namespace qm::bench {

namespace fs = std::filesystem;

inline void writeBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

inline const std::vector<std::string>& words() {
  static const std::vector<std::string> w = {"Blur",
                                             "Glow",
                                             "Ripple",
                                             "\xC9tude",
                                             "Gl\xFChen",
                                             "Kaleidoscope",
                                             "Noise",
                                             "Sharpen",
                                             "Emboss",
                                             "Twirl",
                                             "Mosaic",
                                             "Stra\xDF"
                                             "e",
                                             "Caf\xE9",
                                             "Smear",
                                             "Edge",
                                             "Lightning",
                                             "Water",
                                             "Chrome",
                                             "Plasma",
                                             "Vortex",
                                             "Pixel",
                                             "Halftone",
                                             "Crystal",
                                             "Fire",
                                             "Frost",
                                             "Metal",
                                             "Neon",
                                             "Paper"};
  return w;
}

inline std::string pick(std::mt19937& random) {
  return words()[random() % words().size()];
}

// Real-shaped enable-info expressions, and none.
inline std::optional<std::string> enableInfoFor(int i) {
  switch (i % 5) {
    case 0:
      return "in (PSHOP_ImageMode, RGBMode, GrayScaleMode, CMYKMode, LabMode, RGB48Mode, "
             "Gray16Mode) || PSHOP_ImageDepth == 16";
    case 1:
      return "in (PSHOP_ImageMode, RGBMode, GrayScaleMode) && PSHOP_ImageDepth != 16";
    case 2:
      return "PSHOP_ImageMode == RGBMode || PSHOP_ImageMode == RGB48Mode";
    case 3:
      return "PSHOP_NumTargetChannels >= 3 && !PSHOP_HasSelectionMask";
    default:
      return std::nullopt;
  }
}

inline std::string piplFilterFile(std::mt19937& random, int i, std::size_t size,
                                  std::uint32_t rsrcAt) {
  test::PeImage image;
  const int arch = i % 3;  // 0 x64, 1 x86, 2 both entry points
  image.pe64 = arch == 0;
  image.machine = arch == 0 ? 0x8664 : 0x014C;
  image.rsrcFileOffset = rsrcAt;
  test::ResourceType pipl{"PIPL", 0, {}};
  const int filters = 1 + (i % 7 == 0) + (i % 11 == 0);
  for (int f = 0; f < filters; ++f) {
    test::PiplFilter filter;
    filter.name = pick(random) + " " + pick(random) + (f % 2 ? "..." : "");
    filter.category = "Vendor " + std::to_string(i % 40) + " " + pick(random);
    test::PiplExtras extras;
    extras.modes = test::Bytes{static_cast<std::uint8_t>(0x58 | (i % 4 == 0 ? 0x80 : 0)),
                               static_cast<std::uint8_t>(i % 2 ? 0x30 : 0)};
    extras.enableInfo = enableInfoFor(i + f);
    if (arch != 1) extras.entryPoints.push_back("4668");
    if (arch != 0) extras.entryPoints.push_back("68xw");
    pipl.items.push_back(test::piplData(filter, extras));
  }
  image.resources.push_back(pipl);
  image.resources.push_back(
      {"", 16, {test::versionData({{{"FileDescription", "Generated plugin"}}})}});
  image.totalSize = size;
  return test::asString(test::buildPe(image).bytes);
}

inline std::string oldStylePlugin(std::mt19937& random) {
  test::PeImage image;
  image.resources.push_back({"PIMI", 0, {test::pimiData("Old " + pick(random), 64)}});
  image.resources.push_back({"_8BFM", 0, {test::bfmData(pick(random) + " Classic")}});
  image.totalSize = 24000;
  return test::asString(test::buildPe(image).bytes);
}

// count files below dir (made once; a "done" marker keeps it for the next run).
// ffOptions: the templates' folder (programDir) for the Filter Factory plugins.
inline fs::path makeCollection(const fs::path& dir, int count, const ff::FFOptions& ffOptions) {
  if (fs::exists(dir / "done")) return dir;
  fs::remove_all(dir);
  std::mt19937 random(2024);
  std::string previous;
  for (int i = 0; i < count; ++i) {
    // About 50 files a folder, three levels deep.
    const int folder = i / 50;
    const fs::path where = dir / ("Vendor " + std::to_string(folder / 40)) /
                           ("Pack " + std::to_string(folder / 8)) /
                           ("Set " + std::to_string(folder));
    const std::string n = std::to_string(i);
    // Names on disk are UTF-8; texts inside plugins are Windows-1252.
    const std::string stem = cp1252ToUtf8(pick(random)) + " " + n;
    switch (i % 20) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4:
      case 5:
      case 6: {
        const bool big = i % 400 == 3;
        const std::size_t size = big ? 2 * 1024 * 1024 : 16000 + random() % 48000;
        const std::uint32_t at = big ? 2 * 1024 * 1024 - 16384 : 0x400 + (random() % 8) * 0x200;
        previous = piplFilterFile(random, i, size, at);
        writeBytes(where / (stem + ".8bf"), previous);
        break;
      }
      case 7:
        writeBytes(where / (stem + ".8bf"), oldStylePlugin(random));
        break;
      case 8:
        writeBytes(where / (stem + ".aex"), piplFilterFile(random, i, 30000, 0x400));
        break;
      case 9:
        writeBytes(where / (stem + ".prm"), piplFilterFile(random, i, 40000, 0x400));
        break;
      case 10: {
        std::string prm(30000 + random() % 20000, '\0');
        test::placeAt(prm, 9002 + 4 * (random() % 1000), test::vfltRecord("Video " + n, true));
        writeBytes(where / (stem + ".prm"), prm);
        break;
      }
      case 11:
      case 12: {
        // Written by the program's own plugin writer from the shipped templates.
        ff::FFRecord record;
        record.title = pick(random) + " FF " + n;
        record.category = "Filter Factory " + pick(random);
        record.formulas = {"r", "g", "b", "a"};
        fs::create_directories(where);
        ff::Write8bfTo(where / (stem + ".8bf"), record, ffOptions);
        break;
      }
      case 13:
        writeBytes(where / (stem + "._bf"), piplFilterFile(random, i, 20000, 0x400));
        break;
      case 14:
        writeBytes(where / (stem + ".afs"), test::afsSource(pick(random) + " Source " + n));
        break;
      case 15:
        writeBytes(where / (stem + ".txt"), test::txtSource(pick(random) + " Text " + n, stem));
        break;
      case 16:
        writeBytes(where / (stem + ".8be"), piplFilterFile(random, i, 20000, 0x400));
        break;
      case 17:
        writeBytes(where / (stem + ".jpg"), std::string(2000 + random() % 6000, 'j'));
        break;
      default:
        // A copy of the last filter under another name: a duplicate with identical bytes.
        writeBytes(where / (stem + " copy.8bf"),
                   previous.empty() ? oldStylePlugin(random) : previous);
        break;
    }
  }
  writeBytes(dir / "done", "");
  return dir;
}

}  // namespace qm::bench
