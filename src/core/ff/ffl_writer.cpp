#include "core/ff/ffl_writer.h"

#include <algorithm>

#include "core/ff/ffl.h"

namespace qm::ff {
namespace {

constexpr unsigned char kCopyrightSign = 169;
constexpr std::string_view kLineEnd = "\r\n";

bool hasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Each CR LF, lone CR or lone LF becomes one blank: a formula reads the same either way.
std::string withBlanksForLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
  }
  return out;
}

// The name with its last four characters replaced by ending, or with ending added when it
// has none of the usual form.
std::string withEnding(std::string_view name, std::string_view ending) {
  const bool hasEnding = name.size() >= 4 && name[name.size() - 4] == '.';
  std::string out(hasEnding ? name.substr(0, name.size() - 4) : name);
  return out + std::string(ending);
}

void change(FFLStorable& storable, std::string_view field) {
  auto& fields = storable.changedFields;
  if (std::find(fields.begin(), fields.end(), field) == fields.end()) fields.emplace_back(field);
}

// Past count lines by the byte reader's rule: a line runs to a CR, and the byte after the CR
// belongs to it.
void skipLines(ByteCursor& cursor, std::size_t count) {
  for (std::size_t n = 0; n < count && !cursor.atEnd(); ++n)
    while (auto b = cursor.next())
      if (*b == '\r') {
        cursor.next();
        break;
      }
}

void appendLine(std::string& out, std::string_view line) {
  out += line;
  out += kLineEnd;
}

}  // namespace

std::optional<std::string> fflEntryRefusal(const FFRecord& rec) {
  const std::pair<std::string_view, const std::string*> texts[] = {{"file name", &rec.fileName},
                                                                   {"category", &rec.category},
                                                                   {"title", &rec.title},
                                                                   {"author", &rec.author},
                                                                   {"copyright", &rec.copyright}};
  for (const auto& [field, text] : texts)
    if (hasLineBreak(*text)) return "its " + std::string(field) + " holds a line break";
  for (const auto& name : rec.mapNames)
    if (hasLineBreak(name)) return std::string("a map name holds a line break");
  for (const auto& name : rec.controlNames)
    if (hasLineBreak(name)) return std::string("a slider name holds a line break");
  return std::nullopt;
}

FFLStorable fflStorable(const FFRecord& rec) {
  FFLStorable s{rec, {}};
  FFRecord& r = s.record;
  for (auto& formula : r.formulas) {
    if (!hasLineBreak(formula)) continue;
    formula = withBlanksForLineBreaks(formula);
    change(s, "formula line breaks");
  }
  if (r.formulas[1] == "\"") {
    r.formulas[1] = r.formulas[0];
    if (r.formulas[1] != "\"") change(s, "G formula");
  }
  if (r.formulas[2] == "\"") {
    r.formulas[2] = r.formulas[1];
    if (r.formulas[2] != "\"") change(s, "B formula");
  }
  if (!r.copyright.empty() && static_cast<unsigned char>(r.copyright[0]) == kCopyrightSign) {
    r.copyright.insert(0, "Copyright ");
    change(s, "copyright");
  }
  if (isFFLPlaceholder(r.fileName)) {
    r.fileName.erase(0, r.fileName.find_first_not_of('/'));
    change(s, "file name");
  }
  // The reader takes the dialect from the name, so the name has to say it.
  if (photoshopDialectForName(r.fileName) != r.photoshopDialect) {
    r.fileName = withEnding(r.fileName, r.photoshopDialect ? ".8bf" : ".prm");
    change(s, "file name");
  }
  return s;
}

std::string fflEntryText(const FFRecord& rec) {
  std::string out;
  for (const std::string* text :
       {&rec.fileName, &rec.category, &rec.title, &rec.author, &rec.copyright})
    appendLine(out, *text);
  for (const auto& name : rec.mapNames) appendLine(out, name);
  for (const auto& name : rec.controlNames) appendLine(out, name);
  for (auto value : rec.sliderValues) appendLine(out, std::to_string(value));
  for (const auto& formula : rec.formulas) appendLine(out, formula);
  return out;
}

std::string fflLibraryText(std::string_view header, const std::vector<FFRecord>& entries) {
  std::string out;
  appendLine(out, header);
  appendLine(out, std::to_string(entries.size()));
  for (const auto& rec : entries) out += fflEntryText(rec);
  return out;
}

Outcome<std::string, std::string> fflWithAddedEntries(ByteView library,
                                                      const std::vector<FFRecord>& entries) {
  auto index = IndexFFL(library);
  if (!index) return Failure{std::string("not a Filter Factory library")};
  if (index->cutShort)
    return Failure{std::string("the library ends inside an entry (damaged); nothing added")};
  // The whole entries are kept byte for byte; blank lines after the last one are dropped so
  // the new entries follow it directly.
  ByteCursor cursor(library);
  skipLines(cursor, 2);
  const std::size_t bodyStart = cursor.position();
  skipLines(cursor, index->entries.size() * kFFLEntryLines);
  std::string out;
  appendLine(out, index->header);
  appendLine(out, std::to_string(index->entries.size() + entries.size()));
  const auto* bytes = reinterpret_cast<const char*>(library.data());
  out.append(bytes + bodyStart, cursor.position() - bodyStart);
  if (out.ends_with('\r'))
    out += '\n';
  else if (!out.ends_with(kLineEnd))
    out += kLineEnd;
  for (const auto& rec : entries) out += fflEntryText(rec);
  return out;
}

}  // namespace qm::ff
