// ReadTXTBytes over arbitrary bytes. The first byte picks the options; a NUL byte splits the
// rest into the text and the companion .afs of a plugin-information text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/ff/sources.h"
#include "fuzz_source_common.h"

namespace {

class SilentPrompter final : public qm::Prompter {
 public:
  void inform(std::string_view, std::string_view) override {}
  void warn(std::string_view, std::string_view) override {}
  void error(std::string_view text, std::string_view) override { last = text; }
  qm::Button ask(std::string_view, std::string_view, qm::Buttons, qm::Icon) override {
    return qm::Button::Cancel;
  }
  std::optional<std::string> askText(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<qm::FolderChoice> chooseFolder(const qm::FolderRequest&) override {
    return std::nullopt;
  }
  qm::OverwriteAnswer overwrite(const qm::OverwriteQuestion&) override {
    return qm::OverwriteAnswer::Cancel;
  }
  std::string last;
};

class CheckedPresets final : public qm::ff::EditorPresets {
 public:
  bool slotInUse(int slot) const override { return slot >= 0 && slot < 10 && used[slot]; }
  std::array<int, 8> slotValues(int slot) const override { return values.at(slot); }
  void setSlot(int slot, const std::array<int, 8>& v) override {
    values.at(slot) = v;  // throws (and so fails the run) on a slot out of range
    used.at(slot) = true;
  }
  std::array<std::array<int, 8>, 10> values{};
  std::array<bool, 10> used{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::uint8_t flags = data[0];
  qm::ByteView rest(data + 1, size - 1);
  const std::uint8_t* nul = std::find(rest.data(), rest.data() + rest.size(), 0);
  auto textSize = static_cast<std::size_t>(nul - rest.data());
  qm::ByteView text = rest.sub(0, textSize);
  std::optional<qm::ByteView> companion;
  if (textSize < rest.size()) companion = rest.sub(textSize + 1);

  qm::ff::FFOptions options;
  options.noOptimize = flags & 1;
  qm::ff::FFRecord rec;
  CheckedPresets presets;
  SilentPrompter prompter;
  qm::ff::ReadTXTBytes(text, "fuzz.txt", rec, options, flags & 2 ? &presets : nullptr,
                       flags & 4 ? &prompter : nullptr, companion);
  volatile std::size_t sink = qm::ff::fuzz::touchRecord(rec) + prompter.last.size();
  (void)sink;
  return 0;
}
