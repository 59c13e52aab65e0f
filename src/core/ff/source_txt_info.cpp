#include "core/ff/source_txt_info.h"

#include <cstddef>

#include "core/ff/source_text.h"

namespace qm::ff {

namespace {

// Walks the lines forward; labels are found by searching for a line that begins with them.
class LineWalker {
 public:
  explicit LineWalker(const std::vector<std::string>& lines) : lines_(lines) {}

  // The line that begins with label, searching forward; the walk goes on after it.
  const std::string* findLabel(std::string_view label) {
    for (; next_ < lines_.size(); ++next_) {
      if (lines_[next_].starts_with(label)) return &lines_[next_++];
    }
    return nullptr;
  }

  // The line after the label line as it stands ("" when the file ends there).
  std::optional<std::string> valueAfter(std::string_view label) {
    if (!findLabel(label)) return std::nullopt;
    if (next_ >= lines_.size()) return std::string();
    return lines_[next_++];
  }

  // The next non-empty line, or nullptr at the end.
  const std::string* nextNonEmpty() {
    while (next_ < lines_.size() && lines_[next_].empty()) ++next_;
    return next_ < lines_.size() ? &lines_[next_++] : nullptr;
  }

  // Lines from here up to (not including) the next line beginning with label, joined.
  std::optional<std::string> joinUntilLabel(std::string_view label) {
    std::string joined;
    for (; next_ < lines_.size(); ++next_) {
      if (lines_[next_].starts_with(label)) {
        ++next_;
        return joined;
      }
      joined += lines_[next_];
    }
    return std::nullopt;
  }

  // Lines from here up to the first empty line or the end, joined.
  std::string joinUntilEmpty() {
    std::string joined;
    for (; next_ < lines_.size() && !lines_[next_].empty(); ++next_) joined += lines_[next_];
    return joined;
  }

 private:
  const std::vector<std::string>& lines_;
  std::size_t next_ = 1;  // after the header line
};

// The last twelve characters of the FILENAME line, cut after the last "\" among them.
std::string fileNameFromLine(std::string_view line) {
  if (line.size() > 12) line.remove_prefix(line.size() - 12);
  auto slash = line.find_last_of('\\');
  if (slash != std::string_view::npos) line.remove_prefix(slash + 1);
  return std::string(line);
}

enum class NameListResult { Read, FileEnded, Violation };

// The name after a map or control label: the text inside its brackets ("[Soft]" gives
// "Soft"), or the trimmed text when it has none. The decompiler writes its own label as the
// name of an unnamed slider ("Map 0: [Map 0:]"), which therefore stays unnamed.
std::string nameAfterLabel(std::string_view rest, std::string_view ownLabel) {
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  if (rest.size() >= 2 && rest.front() == '[' && rest.back() == ']')
    rest = rest.substr(1, rest.size() - 2);
  return rest == ownLabel ? std::string() : std::string(rest);
}

// Map or control lines: "<label> <i>:" then the name. The first name "[]" ends the list; the
// lines left in it are passed over unread.
template <std::size_t N>
NameListResult readNameList(LineWalker& walker, std::string_view label,
                            std::array<std::string, N>& names) {
  bool ended = false;
  for (std::size_t i = 0; i < N; ++i) {
    const std::string* line = walker.nextNonEmpty();
    if (!line) return NameListResult::FileEnded;
    if (ended) continue;
    std::string expected = std::string(label) + " " + std::to_string(i) + ":";
    if (!line->starts_with(expected)) return NameListResult::Violation;
    if (line->ends_with("[]")) {
      ended = true;
      continue;
    }
    names[i] = nameAfterLabel(std::string_view(*line).substr(expected.size()), expected);
  }
  return NameListResult::Read;
}

// The header item of the companion .afs is skipped; the next eight items are the values.
// Items are separated by runs of ",", CR and LF; missing items leave their sliders at 0.
void readCompanionValues(ByteView afs, std::array<std::uint8_t, 8>& values) {
  std::vector<std::string> items;
  std::string item;
  bool inItem = false;
  for (std::uint8_t c : afs.span()) {
    if (c == ',' || c == '\r' || c == '\n') {
      if (inItem) items.push_back(std::move(item));
      item.clear();
      inItem = false;
      continue;
    }
    item.push_back(static_cast<char>(c));
    inItem = true;
  }
  if (inItem) items.push_back(std::move(item));
  for (std::size_t k = 0; k < values.size() && k + 1 < items.size(); ++k)
    values[k] = lenientSliderValue(items[k + 1]);
}

}  // namespace

bool isPluginInformationText(const std::vector<std::string>& lines) {
  return !lines.empty() && lines.front().starts_with(kPluginInformationHeader);
}

bool readPluginInformationText(const std::vector<std::string>& lines, std::string_view shownName,
                               std::optional<ByteView> companionAfs, FFRecord& rec,
                               Prompter* prompter) {
  LineWalker walker(lines);
  const std::string* fileNameLine = walker.findLabel("FILENAME:");
  if (!fileNameLine) return false;
  rec.fileName = fileNameFromLine(*fileNameLine);
  auto category = walker.valueAfter("CATEGORY:");
  auto title = category ? walker.valueAfter("TITLE:") : std::nullopt;
  auto copyright = title ? walker.valueAfter("COPYRIGHT:") : std::nullopt;
  auto author = copyright ? walker.valueAfter("AUTHOR:") : std::nullopt;
  if (!author) return false;
  rec.category = *category;
  rec.title = *title;
  rec.copyright = *copyright;
  rec.author = *author;

  auto maps = readNameList(walker, "Map", rec.mapNames);
  auto controls =
      maps == NameListResult::Read ? readNameList(walker, "Control", rec.controlNames) : maps;
  if (controls == NameListResult::Violation) {
    // The message names the text file as the user picked it.
    if (prompter) prompter->error(std::string(shownName) + ": Format Violation", "Error");
    return false;
  }
  if (controls == NameListResult::FileEnded) return false;

  if (!walker.findLabel("R=")) return false;
  auto r = walker.joinUntilLabel("G=");
  auto g = r ? walker.joinUntilLabel("B=") : std::nullopt;
  auto b = g ? walker.joinUntilLabel("A=") : std::nullopt;
  if (!b) return false;
  rec.formulas = {*r, *g, *b, walker.joinUntilEmpty()};

  if (companionAfs) readCompanionValues(*companionAfs, rec.sliderValues);
  return true;
}

}  // namespace qm::ff
