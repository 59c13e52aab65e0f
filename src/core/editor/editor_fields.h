#pragma once
// The editor's controls as plain values, and the two ways between them and the Filter Factory
// record: gathering (controls to record) before every preview, copy, print or save, and
// scattering (record to controls) when a filter is loaded or pasted.

#include <array>
#include <string>

#include "core/editor/preview_formulas.h"
#include "core/editor/slider_rules.h"
#include "core/ff/record.h"

namespace qm::editor {

// The five text labels in the order of their controls.
enum EditorText { kTextFileName = 0, kTextCategory, kTextTitle, kTextAuthor, kTextCopyright };

struct EditorFields {
  std::array<std::string, 5> texts;
  EditorFormulas boxes;  // A, R, G, B
  SliderState sliders;
  std::array<std::string, 4> mapNames;  // shown for the slider pair while the map is active
  // One-box mode: the red box ("C=") holds the formula of all three colours.
  bool oneBox = false;

  // What a reset shows: the placeholders, "a", "r", "g", "b", every slider at 0, no map.
  static EditorFields reset();
};

// An active map whose name is empty is recorded as "Map N", so it still stands for its pair.
// In one-box mode the C formula is recorded for R, G and B; the hidden boxes are dropped.
ff::FFRecord gather(const EditorFields& fields, const ff::FFRecord& base);
// Deactivation marks are kept; everything the record holds is replaced.
void scatter(const ff::FFRecord& record, EditorFields& fields);

// The text shown in name label k: the map's name for an active map's pair.
std::string sliderCaption(const EditorFields& fields, int k);

}  // namespace qm::editor
