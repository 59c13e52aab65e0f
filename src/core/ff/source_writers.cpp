// Writers of the .afs, .pff and .txt sources. These formats have no fixed fields, so texts
// are written whole; files are replaced all at once.

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/common/safe_name.h"
#include "core/ff/file_names.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/sources.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {

namespace {

constexpr int kSourceKindAfs = 0;
constexpr int kSourceKindPff = 1;
constexpr std::array<std::size_t, 4> kPffChannelOrder = {2, 1, 0, 3};  // B, G, R, A

// The output path: fileName (given the extension when it has no ".") less its last four
// characters, plus the extension. The name may come from a file, so it only ever becomes a
// plain name inside folder.
std::filesystem::path outputPath(const std::filesystem::path& folder, std::string& fileName,
                                 int target) {
  std::string name = writtenName(target, fileName);
  // The extension given to a name without "." stays in the record.
  if (fileName.find('.') == std::string::npos) fileName += name.substr(name.size() - 4);
  return pathInFolder(folder, name);
}

void translateToPhotoshop(FFRecord& rec) {
  if (rec.photoshopDialect) return;
  for (auto& formula : rec.formulas) formula = Correctprmcode(formula);
  // Set together with the formulas so the record is never translated twice.
  rec.photoshopDialect = true;
}

WriteResult writeAll(const std::filesystem::path& path, const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  if (std::string reason = replaceFile(path, bytes); !reason.empty())
    return {{}, "could not write " + path.string() + ": " + reason, {}};
  return {path, {}, {}};
}

// Photoshop formulas can go into a .pff only where the Premiere reading leaves them alone.
bool meansTheSameInPremiere(const FFRecord& rec) {
  if (!rec.photoshopDialect) return true;
  return std::all_of(rec.formulas.begin(), rec.formulas.end(),
                     [](const std::string& f) { return Correctprmcode(f) == f; });
}

// A text as one line of a source file. A line break inside it would end its line early, and
// what follows would read as the next field (an .ffx formula typed over several lines would
// shift every later formula of an .afs); in a formula it only separates tokens, so a blank
// keeps its meaning. A NUL is no character of a text file.
std::string lineText(std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\0') continue;
    line += c == '\r' || c == '\n' ? ' ' : c;
  }
  return line;
}

void writeBlock(std::string& out, std::string_view text) {
  Writecode(out, lineText(text));
  Writecode(out, "");
}

}  // namespace

WriteResult WriteafspffTo(const std::filesystem::path& path, int kind, FFRecord& rec) {
  // Only the two source kinds exist; anything else writes nothing.
  if (kind != kSourceKindAfs && kind != kSourceKindPff) return {{}, "no such source kind", {}};
  bool pff = kind == kSourceKindPff;
  if (pff && !meansTheSameInPremiere(rec))
    return {{},
            "these formulas mean something else in a .pff (Premiere) file; convert to .afs or "
            ".txt instead",
            {}};
  std::string out;
  Writecode(out, "%RGB-1.0");
  if (pff) out += '\x02';
  for (std::size_t k = 0; k < rec.sliderValues.size(); ++k) {
    if (rec.controlNames[k].empty()) rec.sliderValues[k] = 0;
    Writecode(out, std::to_string(rec.sliderValues[k]));
    if (pff && k < 7) out += '\x01';
  }
  if (pff) {
    // Premiere formulas as they stand, blue first.
    for (std::size_t channel : kPffChannelOrder) writeBlock(out, rec.formulas[channel]);
  } else {
    translateToPhotoshop(rec);
    for (const auto& formula : rec.formulas) writeBlock(out, formula);
  }
  for (const auto* text : {&rec.category, &rec.title, &rec.author, &rec.copyright})
    writeBlock(out, *text);
  for (std::size_t k = 0; k < rec.controlNames.size(); ++k)
    writeBlock(out, std::to_string(k + 1) + ": " + rec.controlNames[k]);
  return writeAll(path, out);
}

std::filesystem::path Writeafspff(const std::filesystem::path& folder, int kind, FFRecord& rec) {
  if (kind != kSourceKindAfs && kind != kSourceKindPff) return {};
  auto path = outputPath(folder, rec.fileName, kind == kSourceKindPff ? kTargetPff : kTargetAfs);
  return WriteafspffTo(path, kind, rec).written;
}

std::string textSourceText(const FFRecord& rec, const EditorPresets* presets) {
  std::string out;
  auto line = [&out](std::string_view text) {
    out += lineText(text);
    out += "\r\n";
  };
  // An empty "Category:" reads as "Photoshop"; left out, the category reads back empty.
  if (!rec.category.empty()) line("Category: " + rec.category);
  line("Title: " + rec.title);
  line("Copyright: " + rec.copyright);
  line("Author: " + rec.author);
  line("Filename: " + rec.fileName);
  line("");
  static constexpr std::string_view kChannels[] = {"R:", "G:", "B:", "A:"};
  for (std::size_t channel = 0; channel < 4; ++channel) {
    line(std::string(kChannels[channel]) + rec.formulas[channel]);
    line("");
  }
  // A named map stands for its two sliders; otherwise each named slider stands alone.
  auto sliderShown = [&rec](std::size_t k) {
    return !rec.mapNames[k / 2].empty() || !rec.controlNames[k].empty();
  };
  for (std::size_t map = 0; map < 4; ++map) {
    if (!rec.mapNames[map].empty()) {
      line("map[" + std::to_string(map) + "]: " + rec.mapNames[map]);
      continue;
    }
    for (std::size_t k = 2 * map; k < 2 * map + 2; ++k)
      if (!rec.controlNames[k].empty())
        line("ctl[" + std::to_string(k) + "]: " + rec.controlNames[k]);
  }
  line("");
  for (std::size_t k = 0; k < 8; ++k)
    if (sliderShown(k))
      line("val[" + std::to_string(k) + "]: " + std::to_string(rec.sliderValues[k]));
  line("");
  if (presets) {
    for (int slot = 0; slot < 10; ++slot) {
      if (!presets->slotInUse(slot)) continue;
      std::string values;
      for (int value : presets->slotValues(slot))
        values += (values.empty() ? "" : ",") + std::to_string(value);
      line("set[" + std::to_string(slot) + "]: " + values);
    }
  }
  return out;
}

WriteResult WriteTXTTo(const std::filesystem::path& path, FFRecord& rec,
                       const EditorPresets* presets) {
  translateToPhotoshop(rec);
  return writeAll(path, textSourceText(rec, presets));
}

std::filesystem::path WriteTXT(const std::filesystem::path& folder, FFRecord& rec,
                               const EditorPresets* presets) {
  // The appended ".txt" stays in the record's fileName.
  std::filesystem::path path = outputPath(folder, rec.fileName, kTargetText);
  return WriteTXTTo(path, rec, presets).written;
}

}  // namespace qm::ff
