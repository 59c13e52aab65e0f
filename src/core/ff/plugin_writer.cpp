#include "core/ff/plugin_writer.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "core/common/safe_name.h"
#include "core/ff/file_names.h"
#include "core/ff/formula_check.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/template_layout.h"
#include "core/ff/text_primitives.h"

namespace qm::ff {

namespace {

namespace fs = std::filesystem;
using namespace layout;

// The template to copy and its layout offset, or why there is none (error not empty).
// (No std::expected: the fuzz build's compiler cannot use it with this library.)
struct Template {
  fs::path file;
  long d = 0;
  std::string error;
  bool ours = true;  // one of the shipped runtime templates, not the user's own plugin
};

Template refused(std::string error) {
  return {{}, 0, std::move(error)};
}
Template usersOwn(const fs::path& file, long d) {
  return {file, d, {}, false};
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The output name: the record's fileName with its last four characters replaced by ".8bf";
// a name without "." first gets ".8bf" (kept in the record) unless it ends in "_8bf".
std::string outputName(FFRecord& rec) {
  std::string name = writtenName(kTargetPlugin, rec.fileName);
  const std::string& old = rec.fileName;
  if (old.find('.') == std::string::npos &&
      (old.size() < 4 || lower(old.substr(old.size() - 4)) != "_8bf"))
    rec.fileName += ".8bf";
  return name;
}

std::string display(const fs::path& file) {
  return file.string();
}

// The template of a preview build: the program folder's temp.dll, made from photo30.dll
// when it is missing.
Template previewTemplate(const FFOptions& options) {
  fs::path temp = options.programDir / "temp.dll";
  std::error_code ec;
  if (!fs::exists(temp, ec)) {
    const fs::path source = options.programDir / "photo30.dll";
    auto bytes = readWholeFile(source);
    if (!bytes) return refused("The template plugin " + display(source) + " is missing.");
    // Copied whole or not at all, so a broken temp.dll never stands in for the template.
    if (std::string reason = replaceFile(temp, *bytes); !reason.empty())
      return refused("could not write " + display(temp) + ": " + reason);
  }
  return {temp, kD30, {}};
}

Template chosenTemplate(const FFOptions& options) {
  switch (options.usedFF) {
    case FFTemplate::Macintosh:
      // No Macintosh template exists; say so instead of failing at the copy.
      return refused(
          std::string("Macintosh Filter Factory plugins can't be created. Please choose a "
                      "Windows template (Filter Factory 3.0, 3.04 or a template plugin) in the "
                      "Preferences."));
    case FFTemplate::FF304:
      return {options.programDir / "photo304.dll", kD304, {}};
    case FFTemplate::FF64:
      return {options.programDir / "photo64.dll", kD64, {}};
    case FFTemplate::User:
      if (!options.userTemplate.empty()) {
        std::error_code ec;
        auto size = fs::file_size(options.userTemplate, ec);
        if (ec)
          return refused("The template plugin " + display(options.userTemplate) +
                         " can't be read.");
        if (size == kSize304) return usersOwn(options.userTemplate, kD304);
        if (size == kSizeVarnet) return usersOwn(options.userTemplate, kDVarnet);
        if (size == kSize30) return usersOwn(options.userTemplate, kD30);
        if (size == kSize64) return usersOwn(options.userTemplate, kD64);
        // Nothing is written. The reason is still given; a caller may keep quiet about it.
        return refused("The template plugin " + display(options.userTemplate) +
                       " has a size Quillmark doesn't know (49152, 49664, 57344 or 81920 "
                       "bytes are needed); nothing was written.");
      }
      // Never another template in its place: the user meant their own.
      return refused(std::string(kNoUserTemplate));
    case FFTemplate::FF30:
    default:
      return {options.programDir / "photo30.dll", kD30, {}};
  }
}

// The last byte any patch of this layout touches, plus one.
std::size_t requiredSize(long d) {
  std::size_t end = inBlock(d, kDataBlockEnd);
  if (d == kDVarnet) end = std::max<std::size_t>(end, kVarnetAboutText + 2 * kVarnetAboutLimit + 1);
  return end;
}

// A text longer than its field is cut, and each cut is reported once.
class TextFields {
 public:
  std::string fit(std::string_view what, std::string_view text, std::size_t room) {
    if (text.size() <= room) return std::string(text);
    warnings.push_back("the " + std::string(what) + " has " + std::to_string(text.size()) +
                       " characters; a plugin holds " + std::to_string(room) +
                       ", the rest was left out");
    return std::string(text.substr(0, room));
  }
  std::vector<std::string> warnings;
};

// Every text field is written whole: the text, then zeros to the end of the field, so a
// shorter text never reads back with the end of an earlier one.
class Patcher {
 public:
  Patcher(std::vector<std::uint8_t>& bytes, long d) : bytes_(bytes), d_(d) {}

  void byte(std::size_t offset, std::uint8_t value) {
    if (offset < bytes_.size()) bytes_[offset] = value;
  }
  void word16(std::size_t offset, std::uint16_t value) {
    byte(offset, static_cast<std::uint8_t>(value));
    byte(offset + 1, static_cast<std::uint8_t>(value >> 8));
  }
  // A length byte, then the text (already cut to the PIPL field) and zeros.
  void menuText(std::size_t lengthByte, std::string_view text) {
    byte(lengthByte, static_cast<std::uint8_t>(text.size()));
    field(lengthByte + 1, text, kMenuFieldChars + 1);
  }
  void blockText(long offset, std::string_view text) {
    field(inBlock(d_, offset), text, kTextField);
  }
  void blockByte(long offset, std::uint8_t value) { byte(inBlock(d_, offset), value); }
  void formula(std::size_t k, std::string_view text) {
    field(inBlock(d_, kFormulas + static_cast<long>(k) * kFormulaField), text, kFormulaField);
  }
  // The third-party layout's about text, two bytes a character.
  void about(std::string_view wide) { field(kVarnetAboutText, wide, 2 * kVarnetAboutLimit + 1); }

 private:
  void field(std::size_t at, std::string_view text, std::size_t size) {
    string2bytes_w0(bytes_, text.substr(0, std::min(text.size(), size - 1)), at);
    for (std::size_t i = std::min(text.size(), size - 1); i < size; ++i) byte(at + i, 0);
  }

  std::vector<std::uint8_t>& bytes_;
  long d_;
};

// Author and copyright as the about text of the third-party 3.04 layout: two bytes per
// character, shortened with "..." once it reaches its limit.
std::string aboutText(const FFRecord& rec) {
  std::string text = rec.author + " (" + rec.copyright + ")";
  if (text.size() >= kVarnetAboutLimit) text = text.substr(0, kVarnetAboutLimit - 3) + "...";
  std::string wide;
  for (char c : text) {
    wide.push_back(c);
    wide.push_back('\0');
  }
  return wide;
}

// Title and category stand twice in a plugin: in the menu (34 characters) and in the data
// block (255); one warning tells of the shorter cut.
void writeTitleAndCategory(Patcher& p, TextFields& texts, long d, const FFRecord& rec) {
  const std::string menuTitle = texts.fit("title", rec.title, kMenuFieldChars);
  const std::string menuCategory = texts.fit("category", rec.category, kMenuFieldChars);
  if (d == kDVarnet) {
    p.menuText(kVarnetTitleLength, menuTitle);
    p.menuText(kVarnetCategoryLength, menuCategory);
    p.about(aboutText(rec));
  } else {
    p.menuText(at(d, kMenuTitleLength), menuTitle);
    p.menuText(at(d, kMenuCategoryLength), menuCategory);
  }
  p.blockText(kCategory, rec.category.substr(0, std::min(rec.category.size(), kMaxTextChars)));
  p.blockText(kTitle, rec.title.substr(0, std::min(rec.title.size(), kMaxTextChars)));
}

void writeMapsAndSliders(Patcher& p, TextFields& texts, const FFRecord& rec) {
  for (std::size_t i = 0; i < rec.mapNames.size(); ++i) {
    const long map = static_cast<long>(i);
    const long first = kControlFlags + 8 * map;  // flag of slider 2i; 2i+1 follows
    const bool named = !rec.mapNames[i].empty();
    p.blockByte(kMapFlags + kWordSize * map, named ? 1 : 0);
    p.blockText(kMapNames + kTextField * map,
                texts.fit("name of map " + std::to_string(i), rec.mapNames[i], kMaxTextChars));
    for (long s = 0; s < 2; ++s) {
      const std::size_t slider = 2 * i + static_cast<std::size_t>(s);
      // Under a named map the sliders have no names of their own.
      const std::string name = named ? std::string() : rec.controlNames[slider];
      p.blockByte(first + kWordSize * s, name.empty() ? 0 : 1);
      p.blockText(kControlNames + kTextField * (2 * map + s),
                  texts.fit("name of slider " + std::to_string(slider), name, kMaxTextChars));
    }
  }
  for (std::size_t i = 0; i < rec.sliderValues.size(); ++i)
    p.blockByte(kSliderValues + kWordSize * static_cast<long>(i), rec.sliderValues[i]);
}

// The large preview layouts are not shipped; a user who has one puts it into the program
// folder as bigpreview.bin / megapreview.bin. "Mega" wins when both are ticked; a missing
// block leaves the template's own layout.
void writePreviewLayout(std::vector<std::uint8_t>& bytes, long d, const FFOptions& options) {
  if (!(options.bigPreview || options.megaPreview) || (d != kD30 && d != kD304)) return;
  auto block = readWholeFile(options.programDir /
                             (options.megaPreview ? "megapreview.bin" : "bigpreview.bin"));
  if (!block) return;
  std::size_t start = at(d, kPreviewLayout);
  for (std::size_t i = 0; i < block->size() && start + i < bytes.size(); ++i)
    bytes[start + i] = (*block)[i];
}

// The formulas as the plugin holds them (Photoshop dialect), or the reason one does not fit:
// a cut formula would be a different filter, so it is never cut.
struct PluginFormulas {
  std::array<std::string, 4> formulas;
  std::string error;
};

PluginFormulas pluginFormulas(const FFRecord& rec) {
  static constexpr std::array<char, 4> kChannels = {'R', 'G', 'B', 'A'};
  PluginFormulas result{rec.formulas, {}};
  for (std::size_t k = 0; k < result.formulas.size(); ++k) {
    auto& f = result.formulas[k];
    if (!rec.photoshopDialect) f = Correctprmcode(f);
    if (f.size() > kMaxFormulaChars) {
      result.error = std::string("the formula for ") + kChannels[k] + " has " +
                     std::to_string(f.size()) + " characters; a plugin holds " +
                     std::to_string(kMaxFormulaChars);
      break;
    }
  }
  return result;
}

WriteResult writePlugin(const fs::path& target, const Template& chosen, bool preview, bool editor,
                        FFRecord& rec, const FFOptions& options) {
  if (!chosen.error.empty()) return {{}, chosen.error, {}};
  const long d = chosen.d;
  auto formulas = pluginFormulas(rec);
  if (!formulas.error.empty()) return {{}, formulas.error, {}};
  // A plugin whose formula does not compile would only fail in the host, unexplained.
  if (std::string error = firstFormulaError(formulas.formulas); !preview && !error.empty())
    return {{}, error, {}};

  auto bytes = readWholeFile(chosen.file);
  if (!bytes) return {{}, "The template plugin " + display(chosen.file) + " is missing.", {}};
  if (bytes->size() < requiredSize(d))
    return {{},
            "The template plugin " + display(chosen.file) +
                " is too small to be a Filter Factory plugin.",
            {}};

  if (rec.category == "[Premiere FF]") rec.category = "Premiere(converted)";
  writePreviewLayout(*bytes, d, options);

  Patcher p(*bytes, d);
  TextFields texts;
  writeTitleAndCategory(p, texts, d, rec);
  p.blockText(kCopyright, texts.fit("copyright", rec.copyright, kMaxTextChars));
  p.blockText(kAuthor, texts.fit("author", rec.author, kMaxTextChars));
  writeMapsAndSliders(p, texts, rec);

  // Translated once: the record holds Photoshop formulas from now on.
  rec.formulas = formulas.formulas;
  rec.photoshopDialect = true;
  for (std::size_t k = 0; k < rec.formulas.size(); ++k) p.formula(k, rec.formulas[k]);

  p.blockByte(kStandaloneWord, options.editorPlugin || editor ? 0 : 1);
  if (!preview) {
    // Our runtime is offered exactly the modes it runs; a user's template gets every mode.
    const std::uint16_t allModes = chosen.ours ? kModesRuntime : kModesAll;
    p.word16(d == kDVarnet ? kVarnetModesWord : at(d, kModesWord),
             options.allModes ? allModes : kModesRgbOnly);
  }
  // A user's template keeps its own dialog word under "No Dialog"; ours are told.
  if (preview || (options.noDialog && chosen.ours))
    p.blockByte(kDialogWord, 0);
  else if (!options.noDialog)
    p.blockByte(kDialogWord, 1);

  if (std::string reason = replaceFile(target, *bytes); !reason.empty())
    return {{}, "could not write " + display(target) + ": " + reason, {}};
  return {target, {}, std::move(texts.warnings)};
}

}  // namespace

fs::path withPluginNameSuffix(const fs::path& file, const FFOptions& options) {
  if (options.pluginNameSuffix.empty()) return file;
  fs::path named = file;
  named.replace_filename(file.stem().string() + options.pluginNameSuffix +
                         file.extension().string());
  return named;
}

WriteResult Write8bf(const std::filesystem::path& folder, bool preview, bool editor, FFRecord& rec,
                     const FFOptions& options) {
  // The preview reads the program folder's temp.dll and writes the folder's, so a folder
  // other than the program folder still gets a complete plugin.
  const fs::path target =
      preview ? folder / "temp.dll"
              : withPluginNameSuffix(pathInFolder(folder, outputName(rec)), options);
  return writePlugin(target, preview ? previewTemplate(options) : chosenTemplate(options), preview,
                     editor, rec, options);
}

WriteResult Write8bfTo(const std::filesystem::path& target, FFRecord& rec,
                       const FFOptions& options) {
  return writePlugin(target, chosenTemplate(options), false, false, rec, options);
}

}  // namespace qm::ff
