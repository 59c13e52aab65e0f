#include "core/editor/code_assist.h"

#include <vector>

#include "core/editor/formula_catalogue.h"
#include "core/formula/names.h"

namespace qm::editor {
namespace {

using formula::NameInfo;

bool isLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isNameChar(char16_t c) {
  return isLetter(c) || (c >= u'0' && c <= u'9');
}

std::u16string ascii16(std::string_view text) {
  return std::u16string(text.begin(), text.end());
}

bool sameMeaning(const NameInfo& a, const NameInfo& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case NameInfo::Kind::Function:
      return a.function == b.function;
    case NameInfo::Kind::Pixel:
      return a.pixel == b.pixel;
    case NameInfo::Kind::Constant:
      return a.constant == b.constant && a.value == b.value;
  }
  return false;
}

// The catalogue name a synonym stands for ("sqrt" for sqr, "xmax" for X).
const CatalogueEntry* canonicalEntry(const NameInfo& info) {
  for (const auto& [name, other] : formula::knownNames())
    if (sameMeaning(info, other))
      if (const CatalogueEntry* entry = findEntry(name)) return entry;
  return nullptr;
}

// One line for a name outside the catalogue; empty when it has nothing to say.
std::string synonymMeaning(const NameInfo& info) {
  if (const CatalogueEntry* entry = canonicalEntry(info))
    return "same as " + std::string(entry->name) + ": " + std::string(entry->meaning);
  if (info.kind == NameInfo::Kind::Constant && info.constant == formula::RunConst::Literal)
    return "constant " + std::to_string(info.value);
  return {};
}

// Ready calls of ctl, val and map for the sliders and maps that have names.
void addSliderCalls(std::string_view function, const SliderNames& sliders,
                    std::vector<CompletionItem>& items) {
  using Kind = CompletionItem::Kind;
  if (function == "map") {
    for (int m = 0; m < 4; ++m) {
      if (sliders.maps[m].empty()) continue;
      const std::string k = std::to_string(m);
      items.push_back(
          {Kind::Slider, "map(" + k + ",n)",
           u"map(" + ascii16(k) + u"," + kPlaceholderOpen + u"n" + kPlaceholderClose + u")",
           "map " + k + ": " + sliders.maps[m]});
    }
    return;
  }
  for (int s = 0; s < 8; ++s) {
    if (sliders.controls[s].empty()) continue;
    const std::string k = std::to_string(s);
    if (function == "ctl")
      items.push_back({Kind::Slider, "ctl(" + k + ")", u"ctl(" + ascii16(k) + u")",
                       "slider " + k + ": " + sliders.controls[s]});
    else if (function == "val")
      items.push_back({Kind::Slider, "val(" + k + ",a,b)",
                       u"val(" + ascii16(k) + u"," + kPlaceholderOpen + u"a" + kPlaceholderClose +
                           u"," + kPlaceholderOpen + u"b" + kPlaceholderClose + u")",
                       "slider " + k + " (" + sliders.controls[s] + ") scaled to a..b"});
  }
}

}  // namespace

std::size_t wordStart(std::u16string_view text, std::size_t caret) {
  caret = std::min(caret, text.size());
  std::size_t start = caret;
  while (start > 0 && isNameChar(text[start - 1])) --start;
  // A name begins with a letter: leading digits belong to a number.
  while (start < caret && !isLetter(text[start])) ++start;
  return start;
}

std::vector<CompletionItem> completions(std::string_view prefix, const SliderNames& sliders) {
  using Kind = CompletionItem::Kind;
  std::vector<CompletionItem> items;
  for (const auto& f : functionEntries()) {
    if (!f.name.starts_with(prefix)) continue;
    items.push_back({Kind::Function, signature(f), insertionText(f), std::string(f.meaning)});
    addSliderCalls(f.name, sliders, items);
  }
  for (const auto& v : variableEntries())
    if (v.name.starts_with(prefix))
      items.push_back(
          {Kind::Variable, std::string(v.name), insertionText(v), std::string(v.meaning)});
  if (prefix.empty()) return items;
  for (const auto& [name, info] : formula::knownNames()) {
    // The two-clip synonyms (r0, src1, ...) only crowd the list.
    if (!name.starts_with(prefix) || findEntry(name) ||
        name.find_first_of("0123456789") != std::string_view::npos)
      continue;
    const std::string meaning = synonymMeaning(info);
    if (info.kind == NameInfo::Kind::Function) {
      const CatalogueEntry* entry = canonicalEntry(info);
      CatalogueEntry alias{name, entry ? entry->arguments : "x", meaning};
      items.push_back({Kind::Function, signature(alias), insertionText(alias), meaning});
    } else {
      items.push_back({Kind::Constant, std::string(name), ascii16(name), meaning});
    }
  }
  return items;
}

bool offersCompletion(std::u16string_view text, std::size_t caret, const SliderNames& sliders) {
  caret = std::min(caret, text.size());
  const std::size_t start = wordStart(text, caret);
  if (caret - start < kAutoCompleteLetters) return false;
  // Not inside a comment.
  const auto lineStart = text.find_last_of(u"\r\n", start == 0 ? 0 : start - 1);
  const auto line = text.substr(lineStart == std::u16string_view::npos ? 0 : lineStart + 1);
  const auto comment = line.find(u"//");
  if (comment != std::u16string_view::npos &&
      comment + (lineStart == std::u16string_view::npos ? 0 : lineStart + 1) < start)
    return false;
  std::string word;
  for (char16_t c : text.substr(start, caret - start)) word.push_back(static_cast<char>(c));
  const auto items = completions(word, sliders);
  // A complete variable name needs nothing more.
  return !items.empty() && !(items.size() == 1 && items.front().label == word);
}

std::optional<BracketMatch> matchBracket(std::u16string_view text, std::size_t caret) {
  // Brackets inside comments do not count.
  std::vector<bool> code(text.size(), true);
  for (std::size_t k = 0; k + 1 < text.size(); ++k) {
    if (text[k] != u'/' || text[k + 1] != u'/') continue;
    while (k < text.size() && text[k] != u'\n' && text[k] != u'\r') code[k++] = false;
  }
  auto isBracket = [&](std::size_t k) {
    return k < text.size() && code[k] && (text[k] == u'(' || text[k] == u')');
  };
  std::size_t at = 0;
  if (isBracket(caret))
    at = caret;
  else if (caret > 0 && isBracket(caret - 1))
    at = caret - 1;
  else
    return std::nullopt;
  BracketMatch match{at, std::nullopt};
  int depth = 0;
  if (text[at] == u'(') {
    for (std::size_t k = at; k < text.size(); ++k) {
      if (!code[k]) continue;
      if (text[k] == u'(') ++depth;
      if (text[k] == u')' && --depth == 0) return match.partner = k, match;
    }
  } else {
    for (std::size_t k = at + 1; k-- > 0;) {
      if (!code[k]) continue;
      if (text[k] == u')') ++depth;
      if (text[k] == u'(' && --depth == 0) return match.partner = k, match;
    }
  }
  return match;
}

std::optional<NameRange> nameAt(std::u16string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  std::size_t inside = offset;
  if (inside >= text.size() || !isNameChar(text[inside])) {
    if (inside == 0 || !isNameChar(text[inside - 1])) return std::nullopt;
    --inside;
  }
  std::size_t start = inside, end = inside;
  while (start > 0 && isNameChar(text[start - 1])) --start;
  while (end < text.size() && isNameChar(text[end])) ++end;
  while (start < end && !isLetter(text[start])) ++start;
  if (start == end) return std::nullopt;
  return NameRange{start, end - start};
}

std::string nameTooltip(std::string_view name) {
  if (const CatalogueEntry* entry = findEntry(name)) {
    if (entry->isFunction()) return signature(*entry) + "\n" + std::string(entry->meaning);
    return std::string(name) + ": " + std::string(entry->meaning);
  }
  const auto info = formula::lookupName(name);
  if (!info) return {};
  std::string meaning = synonymMeaning(*info);
  if (meaning.empty()) return {};
  if (info->kind == NameInfo::Kind::Function)
    if (const CatalogueEntry* entry = canonicalEntry(*info))
      return std::string(name) + "(" + std::string(entry->arguments) + ")\n" + meaning;
  return std::string(name) + ": " + meaning;
}

bool startsUndoStep(char16_t previous, char16_t typed, std::chrono::milliseconds sincePrevious) {
  if (previous == 0 || sincePrevious >= kTypingPause) return true;
  if (typed == u'\n' || typed == u'\r') return true;
  return isNameChar(typed) && !isNameChar(previous);
}

}  // namespace qm::editor
