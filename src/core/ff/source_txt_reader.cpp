// .txt sources: the program's own readable export (keys, formula blocks, slider lines) and,
// by its first line, the plugin-information dialect.

#include <algorithm>
#include <array>
#include <cstddef>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/common/text_lines.h"
#include "core/common/unicode_text.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/source_text.h"
#include "core/ff/source_txt_info.h"
#include "core/ff/sources.h"

namespace qm::ff {

namespace {

constexpr std::string_view kChannelLetters = "RGBA";

// Keys are case-insensitive prefixes at the start of a line; "filename:" before "file:".
bool readKeyLine(std::string_view line, FFRecord& rec) {
  struct Key {
    std::string_view prefix;
    std::string FFRecord::*field;
  };
  static constexpr std::array<Key, 7> kKeys = {{
      {"category:", &FFRecord::category},
      {"name:", &FFRecord::title},
      {"title:", &FFRecord::title},
      {"copyright:", &FFRecord::copyright},
      {"author:", &FFRecord::author},
      {"filename:", &FFRecord::fileName},
      {"file:", &FFRecord::fileName},
  }};
  for (const auto& key : kKeys) {
    if (!startsWithNoCase(line, key.prefix)) continue;
    std::string value(trimEnds(line.substr(key.prefix.size())));
    if (value.empty() && key.field == &FFRecord::category) value = "Photoshop";
    rec.*key.field = std::move(value);
    return true;
  }
  return false;
}

// 0..3 for a line that starts a formula ("R:" or "R=", upper case), else npos.
std::size_t formulaStart(std::string_view line) {
  if (line.size() < 2 || (line[1] != ':' && line[1] != '=')) return std::string_view::npos;
  return kChannelLetters.find(line[0]);
}

// Only another channel's letter with a colon ends a formula; a slider, map or value line
// ("ctl[", "map[", "val[") also ends A, while a formula line such as "map(0,r)" does not.
bool endsFormula(std::size_t channel, std::string_view line) {
  if (channel == 3 && (startsWithNoCase(line, "ctl[") || startsWithNoCase(line, "map[") ||
                       startsWithNoCase(line, "val[")))
    return true;
  if (line.size() < 2 || line[1] != ':') return false;
  std::size_t other = kChannelLetters.find(line[0]);
  return other != std::string_view::npos && other != channel;
}

std::string_view withoutComment(std::string_view line) {
  return line.substr(0, line.find("//"));
}

// The digit at the 5th character ("ctl[3]: ..."), when it is below limit.
std::optional<std::size_t> lineIndex(std::string_view line, std::size_t limit) {
  if (line.size() < 5 || line[4] < '0' || line[4] > '9') return std::nullopt;
  auto index = static_cast<std::size_t>(line[4] - '0');
  if (index >= limit) return std::nullopt;
  return index;
}

std::string_view afterLabel(std::string_view line) {
  return line.size() > 7 ? line.substr(7) : std::string_view();
}

void readPresetLine(std::string_view line, EditorPresets& presets) {
  auto slot = lineIndex(line, 10);
  if (!slot) return;
  std::array<int, 8> values{};
  std::string_view rest = afterLabel(line);
  for (auto& value : values) {
    std::size_t comma = rest.find(',');
    value = lenientSliderValue(rest.substr(0, comma));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  presets.setSlot(static_cast<int>(*slot), values);
}

// Slider, map and preset lines; lines whose index is not a digit in range are ignored.
void readIndexedLine(std::string_view line, FFRecord& rec, EditorPresets* presets) {
  if (startsWithNoCase(line, "ctl")) {
    if (auto k = lineIndex(line, 8)) rec.controlNames[*k] = trimEnds(afterLabel(line));
  } else if (startsWithNoCase(line, "map")) {
    if (auto k = lineIndex(line, 4)) rec.mapNames[*k] = trimEnds(afterLabel(line));
  } else if (startsWithNoCase(line, "val")) {
    if (auto k = lineIndex(line, 8)) rec.sliderValues[*k] = lenientSliderValue(afterLabel(line));
  } else if (startsWithNoCase(line, "set")) {
    // "set" lines belong to the editor's presets; without an editor they are passed over.
    if (presets) readPresetLine(line, *presets);
  }
}

bool readGeneralText(const std::vector<std::string>& lines, FFRecord& rec, EditorPresets* presets) {
  rec.formulas[3] = "a";
  // A text is a filter when it gives the R, G and B formulas (A has its default). A formula
  // line with nothing after it is an empty formula that the file holds, as our writer puts
  // down a record's empty formula, so it reads back as empty instead of refusing the file.
  std::array<bool, 4> given{false, false, false, true};
  std::size_t i = 0;
  while (i < lines.size()) {
    std::string_view line = lines[i];
    if (readKeyLine(line, rec)) {
      ++i;
      continue;
    }
    std::size_t channel = formulaStart(line);
    if (channel != std::string_view::npos) {
      std::string formula(withoutComment(line.substr(2)));
      // A file that ends inside a formula keeps the lines collected so far.
      for (++i; i < lines.size() && !endsFormula(channel, lines[i]); ++i)
        formula += withoutComment(lines[i]);
      rec.formulas[channel] = std::move(formula);
      given[channel] = true;
      continue;  // the line that ended the formula is read as a line of its own
    }
    readIndexedLine(line, rec, presets);
    ++i;
  }
  // Only a "filename:" line with an empty value leaves the name empty here.
  if (rec.fileName.empty()) rec.fileName = "-NoName.8bf";
  return std::ranges::all_of(given, [](bool g) { return g; });
}

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// The .afs with the text's base name: the exact name first, then any case.
std::optional<std::vector<std::uint8_t>> companionAfsOf(const std::filesystem::path& txt) {
  std::filesystem::path exact = txt;
  exact.replace_extension(".afs");
  if (auto bytes = readSourceFile(exact)) return *bytes;
  std::string wanted = lowerAscii(exact.filename().string());
  std::error_code ec;
  std::vector<std::filesystem::path> matches;
  for (std::filesystem::directory_iterator
           it(txt.parent_path().empty() ? "." : txt.parent_path(), ec),
       end;
       !ec && it != end; it.increment(ec)) {
    if (lowerAscii(it->path().filename().string()) == wanted) matches.push_back(it->path());
  }
  std::ranges::sort(matches);
  for (const auto& match : matches)
    if (auto bytes = readSourceFile(match)) return *bytes;
  return std::nullopt;
}

// fileName is the name the record keeps (Windows-1252), shownName the one a message shows.
bool readText(ByteView bytes, std::string_view fileName, std::string_view shownName, FFRecord& rec,
              const FFOptions& options, EditorPresets* presets, Prompter* prompter,
              std::optional<ByteView> companionAfs) {
  rec.IniVars();
  rec.fileName = std::string(fileName);
  std::vector<std::string> lines = splitTextLines(bytes);
  bool read = isPluginInformationText(lines)
                  ? readPluginInformationText(lines, shownName, companionAfs, rec, prompter)
                  : readGeneralText(lines, rec, presets);
  if (!read) return false;
  OptimizeCode(rec, options.noOptimize);
  rec.photoshopDialect = true;
  return true;
}

}  // namespace

bool ReadTXTBytes(ByteView bytes, std::string_view fileName, FFRecord& rec,
                  const FFOptions& options, EditorPresets* presets, Prompter* prompter,
                  std::optional<ByteView> companionAfs) {
  return readText(bytes, fileName, cp1252ToUtf8(fileName), rec, options, presets, prompter,
                  companionAfs);
}

bool ReadTXT(const std::filesystem::path& file, FFRecord& rec, const FFOptions& options,
             EditorPresets* presets, Prompter* prompter) {
  auto bytes = readSourceFile(file);
  if (!bytes) return false;
  return ReadTXTFrom(file, ByteView(*bytes), rec, options, presets, prompter);
}

bool ReadTXTFrom(const std::filesystem::path& file, ByteView view, FFRecord& rec,
                 const FFOptions& options, EditorPresets* presets, Prompter* prompter) {
  std::optional<std::vector<std::uint8_t>> companion;
  if (view.matches(0, kPluginInformationHeader)) companion = companionAfsOf(file);
  std::optional<ByteView> companionView;
  if (companion) companionView = ByteView(*companion);
  return readText(view, recordFileName(file), displayName(file), rec, options, presets, prompter,
                  companionView);
}

}  // namespace qm::ff
