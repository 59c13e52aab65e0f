#include "core/editor/editor_fields.h"

#include "core/editor/save_rules.h"

namespace qm::editor {
namespace {

// Record formula order is R, G, B, A; the boxes are A, R, G, B.
constexpr int kBoxOfRecord[4] = {kBoxRed, kBoxGreen, kBoxBlue, kBoxAlpha};

}  // namespace

EditorFields EditorFields::reset() {
  EditorFields fields;
  for (int k = 0; k < 5; ++k) fields.texts[k] = kPlaceholders[k];
  for (int box = 0; box < 4; ++box) fields.boxes[box] = channelLetter(box);
  return fields;
}

ff::FFRecord gather(const EditorFields& fields, const ff::FFRecord& base) {
  ff::FFRecord rec = base;
  rec.fileName = fields.texts[kTextFileName];
  rec.category = fields.texts[kTextCategory];
  rec.title = fields.texts[kTextTitle];
  rec.author = fields.texts[kTextAuthor];
  rec.copyright = fields.texts[kTextCopyright];
  for (int ch = 0; ch < 4; ++ch) rec.formulas[ch] = fields.boxes[kBoxOfRecord[ch]];
  if (fields.oneBox) rec.formulas[1] = rec.formulas[2] = rec.formulas[0];
  rec.controlNames = fields.sliders.names;
  rec.sliderValues = fields.sliders.values;
  for (int m = 0; m < 4; ++m) {
    if (!fields.sliders.mapActive[m])
      rec.mapNames[m].clear();
    else
      rec.mapNames[m] =
          fields.mapNames[m].empty() ? "Map " + std::to_string(m + 1) : fields.mapNames[m];
  }
  return rec;
}

void scatter(const ff::FFRecord& record, EditorFields& fields) {
  fields.texts = {record.fileName, record.category, record.title, record.author, record.copyright};
  for (int ch = 0; ch < 4; ++ch) fields.boxes[kBoxOfRecord[ch]] = record.formulas[ch];
  fields.sliders.names = record.controlNames;
  fields.sliders.values = record.sliderValues;
  for (int m = 0; m < 4; ++m) {
    fields.mapNames[m] = record.mapNames[m];
    fields.sliders.mapActive[m] = !record.mapNames[m].empty();
  }
}

std::string sliderCaption(const EditorFields& fields, int k) {
  if (k < 0 || k >= 8) return {};
  int m = k / 2;
  if (fields.sliders.mapActive[m]) return fields.mapNames[m];
  return fields.sliders.names[k];
}

}  // namespace qm::editor
