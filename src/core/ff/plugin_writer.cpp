#include "core/ff/plugin_writer.h"

#include <algorithm>
#include <system_error>

#include "core/common/safe_name.h"
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
};

Template refused(std::string error) {
  return {{}, 0, std::move(error)};
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
  const std::string& name = rec.fileName;
  if (name.find('.') == std::string::npos &&
      (name.size() < 4 || lower(name.substr(name.size() - 4)) != "_8bf"))
    rec.fileName += ".8bf";
  // A name of fewer than four characters ("a.b") keeps what stands before its last ".".
  std::size_t keep = rec.fileName.size() >= 4 ? rec.fileName.size() - 4 : rec.fileName.rfind('.');
  return rec.fileName.substr(0, keep) + ".8bf";
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
    std::string error = replaceFile(temp, *bytes);
    if (!error.empty()) return refused(error);
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
    case FFTemplate::User:
      if (!options.userTemplate.empty()) {
        std::error_code ec;
        auto size = fs::file_size(options.userTemplate, ec);
        if (ec)
          return refused("The template plugin " + display(options.userTemplate) +
                         " can't be read.");
        if (size == kSize304) return {options.userTemplate, kD304, {}};
        if (size == kSizeVarnet) return {options.userTemplate, kDVarnet, {}};
        if (size == kSize30) return {options.userTemplate, kD30, {}};
        // Nothing is written. The reason is still given; a caller may keep quiet about it.
        return refused("The template plugin " + display(options.userTemplate) +
                       " has a size Quillmark doesn't know (49152, 49664 or 57344 bytes "
                       "are needed); nothing was written.");
      }
      [[fallthrough]];
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

std::string cut(std::string_view text, std::size_t chars) {
  return std::string(text.substr(0, std::min(text.size(), chars)));
}

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
  // A length byte, then the text cut to the PIPL field, then a NUL.
  void menuText(std::size_t lengthByte, std::string_view text) {
    std::string s = cut(text, kMenuFieldChars);
    byte(lengthByte, static_cast<std::uint8_t>(s.size()));
    string2bytes(bytes_, s, lengthByte + 1);
  }
  void blockText(long offset, std::string_view text) {
    string2bytes(bytes_, cut(text, kMaxTextChars), inBlock(d_, offset));
  }
  void blockByte(long offset, std::uint8_t value) { byte(inBlock(d_, offset), value); }
  void formula(std::size_t k, std::string_view text) {
    std::size_t at = inBlock(d_, kFormulas + static_cast<long>(k) * kFormulaField);
    std::string s = cut(text, kMaxFormulaChars);
    string2bytes_w0(bytes_, s, at);
    for (std::size_t i = 0; i < kFormulaTerminator; ++i) byte(at + s.size() + i, 0);
  }
  void raw(std::size_t offset, std::string_view text) { string2bytes(bytes_, text, offset); }

 private:
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

void writeMenuFields(Patcher& p, long d, const FFRecord& rec) {
  if (d == kDVarnet) {
    p.menuText(kVarnetTitleLength, rec.title);
    p.menuText(kVarnetCategoryLength, rec.category);
    p.raw(kVarnetAboutText, aboutText(rec));
    return;
  }
  p.menuText(at(d, kMenuTitleLength), rec.title);
  p.menuText(at(d, kMenuCategoryLength), rec.category);
}

void writeMapsAndSliders(Patcher& p, const FFRecord& rec) {
  for (std::size_t i = 0; i < rec.mapNames.size(); ++i) {
    const long map = static_cast<long>(i);
    const long first = kControlFlags + 8 * map;  // flag of slider 2i; 2i+1 follows
    if (!rec.mapNames[i].empty()) {
      p.blockByte(kMapFlags + kWordSize * map, 1);
      p.blockText(kMapNames + kTextField * map, rec.mapNames[i]);
      p.blockByte(first, 0);
      p.blockByte(first + kWordSize, 0);
      continue;
    }
    p.blockByte(kMapFlags + kWordSize * map, 0);
    for (long s = 0; s < 2; ++s) {
      const std::string& name = rec.controlNames[2 * i + static_cast<std::size_t>(s)];
      p.blockByte(first + kWordSize * s, name.empty() ? 0 : 1);
      if (!name.empty()) p.blockText(kControlNames + kTextField * (2 * map + s), name);
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

}  // namespace

WriteResult Write8bf(const std::filesystem::path& folder, bool preview, bool editor, FFRecord& rec,
                     const FFOptions& options) {
  const std::string name = preview ? std::string("temp.dll") : outputName(rec);
  auto chosen = preview ? previewTemplate(options) : chosenTemplate(options);
  if (!chosen.error.empty()) return {{}, chosen.error};
  const long d = chosen.d;

  auto bytes = readWholeFile(chosen.file);
  if (!bytes) return {{}, "The template plugin " + display(chosen.file) + " is missing."};
  if (bytes->size() < requiredSize(d))
    return {{},
            "The template plugin " + display(chosen.file) +
                " is too small to be a Filter Factory plugin."};

  if (rec.category == "[Premiere FF]") rec.category = "Premiere(converted)";
  writePreviewLayout(*bytes, d, options);

  Patcher p(*bytes, d);
  writeMenuFields(p, d, rec);
  p.blockText(kCategory, rec.category);
  p.blockText(kTitle, rec.title);
  p.blockText(kCopyright, rec.copyright);
  p.blockText(kAuthor, rec.author);
  writeMapsAndSliders(p, rec);

  if (!rec.photoshopDialect) {
    // Translated once: the record holds Photoshop formulas from now on.
    for (auto& f : rec.formulas) f = Correctprmcode(f);
    rec.photoshopDialect = true;
  }
  for (std::size_t k = 0; k < rec.formulas.size(); ++k) p.formula(k, rec.formulas[k]);

  p.blockByte(kStandaloneWord, options.editorPlugin || editor ? 0 : 1);
  if (!preview)
    p.word16(d == kDVarnet ? kVarnetModesWord : at(d, kModesWord),
             options.allModes ? kModesAll : kModesRgbOnly);
  if (preview)
    p.blockByte(kDialogWord, 0);
  else if (!options.noDialog)
    p.blockByte(kDialogWord, 1);

  // The preview reads the program folder's temp.dll and writes the folder's, so a folder
  // other than the program folder still gets a complete plugin.
  const fs::path target = preview ? folder / name : pathInFolder(folder, name);
  std::string error = replaceFile(target, *bytes);
  if (!error.empty()) return {{}, error};
  return {target, {}};
}

}  // namespace qm::ff
