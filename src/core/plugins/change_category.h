#pragma once
// Change Category: rewrites the menu category stored in Filter Factory plugins and sources.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/ports.h"
#include "core/ff/options.h"
#include "core/plugins/catalogue.h"
#include "core/plugins/drop_rules.h"

namespace qm::plugins {

// A template's category field: a length byte, at most 34 characters and a zero.
inline constexpr std::size_t kMaxTemplateCategory = 34;
inline constexpr std::string_view kChangeCategoryTitle = "Change Category";
inline constexpr std::string_view kChooseCategoryCaption = "Choose or enter a new category";

// Offset of the category's length byte for a template plugin of this size.
std::optional<std::size_t> templateCategoryOffset(std::uint64_t size);

enum class ChangeCatResult { Changed, NotFilterFactory, TooLong, WriteFailed };

// Rewrites the category of a Filter Factory plugin row (position 0, template size, a plugin
// the Filter Factory reader accepts): the length as 16 bits at the field, the characters from
// the byte after it, then zeros to the end of the field. The file keeps its size; any failure
// leaves it as it was, and why receives the reason worded for the user (when not null).
ChangeCatResult ChangeCat_FV(const CatalogueRow& row, std::string_view newCategory,
                             std::string* why = nullptr);

// The message refusing a category (UTF-8) with characters outside Windows-1252, naming each
// such character once; nullopt when every character fits.
std::optional<std::string> unstorableCategoryText(std::string_view utf8);

struct ChangeCategoryRequest {
  PaneView view = PaneView::Plugin;
  // Item data of the selected filter-list entries, in list order (0 = a built-in filter).
  std::vector<std::size_t> selectedRows;
  // The category list's current entry when started by a drop; the dialog is skipped then.
  std::optional<std::string> dropTarget;
  // Names of the selected built-in filters: entries with nothing to change.
  std::vector<std::string> selectedBuiltIns;
};

struct ChangeCategoryFailure {
  std::filesystem::path path;  // empty for a selection without a row
  std::string name;            // what the list shows, for a selection without a row
  std::string reason;          // UTF-8, for the user
};

struct ChangeCategoryOutcome {
  std::string newCategory;               // empty when nothing was tried
  std::vector<std::size_t> changedRows;  // their entries leave the filter list
  std::size_t failures = 0;
  std::vector<ChangeCategoryFailure> failed;  // one per failure, in selection order
};

// The dialog's choices: the pane's categories that do not begin with "[".
std::vector<std::string> changeCategoryChoices(const Catalogue& catalogue);

// cmd_ChangeCategory. The dialog is prompter.askText(kChooseCategoryCaption, ...), asked until
// it is cancelled or gives a usable text. Rows changed get the new category in catalogue.
ChangeCategoryOutcome cmd_ChangeCategory(const ChangeCategoryRequest& request, Catalogue& catalogue,
                                         Prompter& prompter, const ff::FFOptions& options);

}  // namespace qm::plugins
