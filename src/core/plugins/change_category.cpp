#include "core/plugins/change_category.h"

#include <algorithm>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/record.h"
#include "core/ff/sources.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

constexpr std::string_view kOnlyPluginView = "Change Category only works in Plugin View.";
constexpr std::string_view kSelectPlugin = "Please select a plugin.";

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

// A row ChangeCat_FV would write to.
bool isTemplatePlugin(const CatalogueRow& row) {
  std::error_code ec;
  auto size = std::filesystem::file_size(row.path, ec);
  return !ec && row.categoryPosition == 0 && templateCategoryOffset(size).has_value();
}

bool changeSource(const CatalogueRow& row, std::string_view ext4, const std::string& category,
                  const ff::FFOptions& options) {
  ff::FFRecord record;
  const auto folder = row.path.parent_path();
  if (ext4 == ".afs" || ext4 == ".pff") {
    bool afs = ext4 == ".afs";
    if (!(afs ? ff::ReadAFS(row.path, record, options) : ff::ReadPFF(row.path, record, options)))
      return false;
    record.category = category;
    record.fileName = nameBytes(row.path);
    ff::Writeafspff(folder, afs ? 0 : 1, record);
    return true;
  }
  if (!ff::ReadTXT(row.path, record, options)) return false;
  record.category = category;
  // A "filename:" line must not send the rewrite to another file.
  record.fileName = nameBytes(row.path);
  ff::WriteTXT(folder, record);
  return true;
}

// The dialog, shown until it is cancelled or confirmed with a usable text.
std::optional<std::string> askCategory(Prompter& prompter) {
  for (;;) {
    auto answer = prompter.askText(kChooseCategoryCaption, "");
    if (!answer) return std::nullopt;
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
    default:
      return std::nullopt;
  }
}

ChangeCatResult ChangeCat_FV(const CatalogueRow& row, std::string_view newCategory) {
  if (row.categoryPosition != 0) return ChangeCatResult::NotFilterFactory;
  auto bytes = ff::readWholeFile(row.path);
  if (!bytes) return ChangeCatResult::NotFilterFactory;
  auto offset = templateCategoryOffset(bytes->size());
  if (!offset) return ChangeCatResult::NotFilterFactory;
  // Decision: the field holds 36 bytes; a longer category would overwrite the next property.
  if (newCategory.size() > kMaxTemplateCategory) return ChangeCatResult::TooLong;
  auto& b = *bytes;
  b[*offset] = static_cast<std::uint8_t>(newCategory.size() & 0xFF);
  b[*offset + 1] = static_cast<std::uint8_t>(newCategory.size() >> 8);
  // The characters start one byte on, over the high byte of the length.
  for (std::size_t i = 0; i < newCategory.size(); ++i)
    b[*offset + 1 + i] = static_cast<std::uint8_t>(newCategory[i]);
  b[*offset + 1 + newCategory.size()] = 0;
  // Written through a temporary file, so a failed write leaves the plugin as it was.
  if (!ff::replaceFile(row.path, b).empty()) return ChangeCatResult::WriteFailed;
  return ChangeCatResult::Changed;
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
  if (request.selectedRows.empty()) {
    prompter.warn(kSelectPlugin, kChangeCategoryTitle);
    return outcome;
  }
  std::optional<std::string> category =
      request.dropTarget ? request.dropTarget : askCategory(prompter);
  if (!category) return outcome;
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
  for (std::size_t r : request.selectedRows) {
    if (r == 0 || r > catalogue.rowCount()) {
      ++outcome.failures;
      continue;
    }
    const CatalogueRow row = catalogue.row(r);
    const std::string ext4 = lastFour(row.path);
    bool ok = false;
    bool stop = false;
    if (isSourceEnding(ext4)) {
      ok = changeSource(row, ext4, *category, options);
    } else {
      auto result = ChangeCat_FV(row, *category);
      ok = result == ChangeCatResult::Changed;
      // A write error ends the command; rows changed so far keep their new category.
      stop = result == ChangeCatResult::WriteFailed;
    }
    if (ok) {
      catalogue.setCategory(r, *category);
      outcome.changedRows.push_back(r);
    } else {
      ++outcome.failures;
    }
    if (stop) break;
  }
  // A category typed in the dialog is listed once a plugin is in it: a refusal or a run where
  // nothing moved leaves the lists as they were.
  if (!outcome.changedRows.empty()) catalogue.addCategory(*category);
  if (outcome.failures > 0)
    prompter.warn(
        "Changing the category didn't work for " + std::to_string(outcome.failures) + " plugin(s).",
        kChangeCategoryTitle);
  return outcome;
}

}  // namespace qm::plugins
