#include "core/plugins/change_category.h"

#include <algorithm>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/load_file.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/record.h"
#include "core/ff/source_category.h"
#include "core/ff/sources.h"
#include "core/ff/template_layout.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kOnlyPluginView = "Change Category only works in Plugin View.";
constexpr std::string_view kSelectPlugin = "Please select a plugin.";
constexpr std::string_view kEmptyCategory = "The category is empty. Please enter a category.";

std::string tooLongText() {
  return "A Filter Factory plugin has room for at most " + std::to_string(kMaxTemplateCategory) +
         " letters in its category.\r\nPlease choose a shorter category.";
}

bool isVirtual(std::string_view category) {
  return !category.empty() && category.front() == '[' && category.back() == ']';
}

std::string lastFour(const std::filesystem::path& path) {
  std::string name = nameBytes(path);
  return name.substr(name.size() > 4 ? name.size() - 4 : 0);
}

bool isSourceEnding(std::string_view ext4) {
  return ext4 == ".afs" || ext4 == ".pff" || ext4 == ".txt";
}

constexpr const char* kNoCategoryField = "an .ffx file has no field for a category";

// A row ChangeCat_FV would write to.
bool isTemplatePlugin(const CatalogueRow& row) {
  std::error_code ec;
  auto size = std::filesystem::file_size(row.path, ec);
  return !ec && row.categoryPosition == 0 && templateCategoryOffset(size).has_value();
}

// The category is replaced where it stands; the rest of the source stays byte for byte.
bool changeSource(const CatalogueRow& row, std::string_view ext4, const std::string& category,
                  const ff::FFOptions& options, std::string& why) {
  auto bytes = ff::readSourceFile(row.path);
  if (!bytes) {
    why = bytes.error();
    return false;
  }
  const auto kind = ext4 == ".afs"   ? ff::InputKind::Afs
                    : ext4 == ".pff" ? ff::InputKind::Pff
                                     : ff::InputKind::Text;
  auto changed = ff::withSourceCategory(ByteView(*bytes), kind, ff::recordFileName(row.path),
                                        category, options);
  if (!changed) {
    why = changed.error();
    return false;
  }
  why = ff::replaceFile(row.path, *changed);
  return why.empty();
}

std::string failureText(const std::vector<ChangeCategoryFailure>& failed) {
  std::string text =
      "Changing the category didn't work for " + std::to_string(failed.size()) + " plugin(s).";
  for (const auto& f : failed)
    text += "\r\n" +
            (f.path.empty() ? (f.name.empty() ? std::string("?") : f.name) : displayPath(f.path)) +
            ": " + f.reason;
  return text;
}

// The length of the UTF-8 sequence led by c; 1 for a byte that leads none.
std::size_t sequenceLength(unsigned char c) {
  if (c >= 0xC2 && c <= 0xDF) return 2;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xF0 && c <= 0xF4) return 4;
  return 1;
}

// The dialog, shown until it is cancelled or confirmed with a usable text.
std::optional<std::string> askCategory(Prompter& prompter) {
  for (;;) {
    auto answer = prompter.askText(kChooseCategoryCaption, "");
    if (!answer) return std::nullopt;
    if (auto refusal = unstorableCategoryText(*answer)) {
      prompter.warn(*refusal, kChangeCategoryTitle);
      continue;
    }
    std::string text = utf8ToCp1252(*answer);
    if (text.rfind("[Premiere", 0) == 0 || text.empty()) continue;
    return text;
  }
}

}  // namespace

std::optional<std::size_t> templateCategoryOffset(std::uint64_t size) {
  switch (size) {
    case 49152:
      return 23894;
    case 49664:
      return 34978;
    case 53760:
      return 30402;
    case 57344:
      return 31062;
    case ff::layout::kSize64:
      return ff::layout::at(ff::layout::kD64, ff::layout::kMenuCategoryLength);
    case ff::layout::kSize64Early:
      return ff::layout::at(ff::layout::kD64Early, ff::layout::kMenuCategoryLength);
    default:
      return std::nullopt;
  }
}

ChangeCatResult ChangeCat_FV(const CatalogueRow& row, std::string_view newCategory,
                             std::string* why) {
  std::string ignored;
  std::string& reason = why ? *why : ignored;
  reason = std::string(ff::kNotFilterFactory);
  if (row.categoryPosition != 0) return ChangeCatResult::NotFilterFactory;
  // Plugins of the known sizes are far below the limit; a bigger file is none of them.
  auto bytes = ff::readFileBytes(row.path, ff::layout::kSize64, ff::kNotFilterFactory);
  if (!bytes) {
    reason = bytes.error();
    return ChangeCatResult::NotFilterFactory;
  }
  auto offset = templateCategoryOffset(bytes->size());
  ff::FFRecord record;
  // Only a plugin the Filter Factory reader accepts is patched, never a file of the same size.
  if (!offset ||
      !ff::Read8bfBytes(ByteView(*bytes), ff::recordFileName(row.path), record, true, false, {}))
    return ChangeCatResult::NotFilterFactory;
  // Decision: the field holds 36 bytes; a longer category would overwrite the next property.
  if (newCategory.size() > kMaxTemplateCategory) {
    reason = tooLongText();
    return ChangeCatResult::TooLong;
  }
  auto& b = *bytes;
  b[*offset] = static_cast<std::uint8_t>(newCategory.size() & 0xFF);
  b[*offset + 1] = static_cast<std::uint8_t>(newCategory.size() >> 8);
  // The characters start one byte on, over the high byte of the length; zeros fill the rest
  // of the field, so no leftover of a longer category stays behind it.
  for (std::size_t i = 0; i <= kMaxTemplateCategory; ++i)
    b[*offset + 1 + i] =
        i < newCategory.size() ? static_cast<std::uint8_t>(newCategory[i]) : std::uint8_t{0};
  // Written through a temporary file, so a failed write leaves the plugin as it was.
  reason = ff::replaceFile(row.path, b);
  if (!reason.empty()) return ChangeCatResult::WriteFailed;
  return ChangeCatResult::Changed;
}

std::optional<std::string> unstorableCategoryText(std::string_view utf8) {
  std::vector<std::string> refused;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length =
        std::min(sequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    std::string character(utf8.substr(i, length));
    i += length;
    // The conversion writes '?' for what Windows-1252 cannot hold.
    if (character != "?" && utf8ToCp1252(character) == "?" &&
        std::find(refused.begin(), refused.end(), character) == refused.end())
      refused.push_back(std::move(character));
  }
  if (refused.empty()) return std::nullopt;
  std::string text = "The category contains characters a Filter Factory file cannot hold: ";
  for (std::size_t k = 0; k < refused.size(); ++k) text += (k ? ", " : "") + refused[k];
  return text;
}

std::vector<std::string> changeCategoryChoices(const Catalogue& catalogue) {
  std::vector<std::string> choices;
  for (const auto& c : catalogue.categories())
    if (c.empty() || c.front() != '[') choices.push_back(c);
  return choices;
}

ChangeCategoryOutcome cmd_ChangeCategory(const ChangeCategoryRequest& request, Catalogue& catalogue,
                                         Prompter& prompter, const ff::FFOptions& options) {
  ChangeCategoryOutcome outcome;
  if (request.view != PaneView::Plugin) {
    prompter.warn(kOnlyPluginView, kChangeCategoryTitle);
    return outcome;
  }
  if (request.selectedRows.empty() && request.selectedBuiltIns.empty()) {
    prompter.warn(kSelectPlugin, kChangeCategoryTitle);
    return outcome;
  }
  std::optional<std::string> category =
      request.dropTarget ? request.dropTarget : askCategory(prompter);
  if (!category) return outcome;
  // The dialog never gives an empty text; a drop or a script can.
  if (category->empty()) {
    prompter.warn(kEmptyCategory, kChangeCategoryTitle);
    return outcome;
  }
  if (isVirtual(*category)) {
    prompter.ask(cp1252ToUtf8(*category) +
                     " is only a virtual category!\r\nMoving plugins to this category isn't "
                     "possible.",
                 kChangeCategoryTitle, Buttons::Ok, Icon::Question);
    return outcome;
  }
  // Refused before anything is written, so no plugin of the selection is half-changed.
  if (category->size() > kMaxTemplateCategory) {
    for (std::size_t r : request.selectedRows) {
      if (r == 0 || r > catalogue.rowCount()) continue;
      const auto& row = catalogue.row(r);
      if (!isSourceEnding(lastFour(row.path)) && isTemplatePlugin(row)) {
        prompter.warn(tooLongText(), kChangeCategoryTitle);
        return outcome;
      }
    }
  }
  outcome.newCategory = *category;
  for (const std::string& name : request.selectedBuiltIns)
    outcome.failed.push_back({{}, name, "built into the host application, it has no file"});
  for (std::size_t r : request.selectedRows) {
    if (r == 0 || r > catalogue.rowCount()) {
      outcome.failed.push_back({{}, {}, "not a file of this list"});
      continue;
    }
    const CatalogueRow row = catalogue.row(r);
    const std::string ext4 = lastFour(row.path);
    // Each file is replaced whole or not at all, so a failed write does not end the command:
    // the other files are still tried and every failure is reported with its reason.
    std::string why;
    bool ok = false;
    if (ext4 == ".ffx")
      why = kNoCategoryField;  // it reads, but its format keeps no category
    else if (isSourceEnding(ext4))
      ok = changeSource(row, ext4, *category, options, why);
    else
      ok = ChangeCat_FV(row, *category, &why) == ChangeCatResult::Changed;
    if (ok) {
      catalogue.setCategory(r, *category);
      outcome.changedRows.push_back(r);
    } else {
      outcome.failed.push_back({row.path, {}, why});
    }
  }
  outcome.failures = outcome.failed.size();
  // A category typed in the dialog is listed once a plugin is in it: a refusal or a run where
  // nothing moved leaves the lists as they were.
  if (!outcome.changedRows.empty()) catalogue.addCategory(*category);
  if (!outcome.failed.empty()) prompter.warn(failureText(outcome.failed), kChangeCategoryTitle);
  return outcome;
}

}  // namespace qm::plugins
