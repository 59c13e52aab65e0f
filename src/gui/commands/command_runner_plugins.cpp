// The commands over plugin files: conversion, Change Category, Enable/Disable, Plugin
// Information and the plugin list.

#include <QApplication>
#include <algorithm>

#include "core/common/cp1252.h"
#include "core/common/safe_name.h"
#include "core/ff/convert_summary.h"
#include "core/ff/ffl.h"
#include "core/ff/plugin_file_io.h"
#include "core/plugins/change_category.h"
#include "core/plugins/enable_disable.h"
#include "core/plugins/plugin_info.h"
#include "core/plugins/text_util.h"
#include "gui/batch/convert_dialog.h"
#include "gui/commands/category_prompter.h"
#include "gui/commands/command_runner.h"
#include "gui/commands/passive_folder_prompter.h"
#include "gui/commands/plugin_information_box.h"
#include "gui/commands/plugin_list_dialog.h"
#include "gui/commands/run_scope.h"

namespace qm::gui {
namespace {

constexpr std::string_view kConvertTitle = "Convert";

QString fromCp1252(std::string_view bytes) {
  return QString::fromStdString(cp1252ToUtf8(bytes));
}

// The selected FFL View entries, read as the library view reads them.
std::vector<ff::FFRecord> loadFflEntries(const std::filesystem::path& library,
                                         const std::vector<std::uint64_t>& positions) {
  std::vector<ff::FFRecord> entries;
  auto bytes = ff::readWholeFile(library);
  if (!bytes) return entries;
  const ByteView view(*bytes);
  for (auto position : positions) {
    if (position >= view.size()) continue;
    ff::ByteCursor cursor(view, static_cast<std::size_t>(position));
    ff::FFRecord record;
    ff::ReadFFLEntryII(cursor, record);
    entries.push_back(std::move(record));
  }
  return entries;
}

// The list file's name is typed by the user; it stays a name in the chosen folder.
std::string listFileName(const std::string& typed) {
  return plainFileName(typed);
}

}  // namespace

void CommandRunner::convert() {
  if (busy_) return;
  const int pane = host_.activePane();
  const bool ffl = host_.view(pane) == shell::PaneView::Ffl;
  auto files = selectedFileList(pane);
  // In the FFL View the chosen entries of the library shown.
  const auto entries = ffl ? host_.selectedFflPositions(pane) : std::vector<std::uint64_t>{};
  if (!entries.empty()) files = {host_.fflLibrary(pane)};
  if (!mayStartConvert(ports_.prompter, !files.empty(), ffl)) return;
  auto& dialog = convertDialog();
  if (!dialog.choose()) return;
  RunScope run(busy_, ports_.progress, statusSink_);
  PassiveFolderPrompter passiveFolder(ports_.prompter, host_.folder(1 - pane));
  Prompter& prompter =
      settings_.options.passivePaneFolder ? static_cast<Prompter&>(passiveFolder) : ports_.prompter;
  const int target = dialog.choice().target;
  const auto report = dialog.convert(files, ffl, entries, clipboard_.text(), settings_.ffOptions,
                                     prompter, run.progress());
  // Every run ends with what it did; failures and cut texts were gathered, the run went on.
  if (!report.noDestination) {
    const auto summary = ff::convertSummary(report, target);
    if (summary.problems)
      ports_.prompter.warn(summary.text, kConvertTitle);
    else
      ports_.prompter.inform(summary.text, kConvertTitle);
  }
  std::vector<std::filesystem::path> folders;
  for (const auto& file : report.written)
    if (std::find(folders.begin(), folders.end(), file.parent_path()) == folders.end())
      folders.push_back(file.parent_path());
  for (const auto& folder : folders) filesChangedIn(folder);
  host_.refreshFiles(0);
  host_.refreshFiles(1);
}

void CommandRunner::changeCategory() {
  const int pane = host_.activePane();
  const bool pluginView = host_.view(pane) == shell::PaneView::Plugin;
  runChangeCategory(pane, std::nullopt,
                    pluginView ? host_.selectedRows(pane) : std::vector<std::size_t>{},
                    pluginView ? host_.selectedBuiltIns(pane) : std::vector<std::string>{});
}

void CommandRunner::changeCategoryByDrop(int pane, const std::string& category,
                                         const std::vector<std::size_t>& rows) {
  runChangeCategory(pane, category, rows);
}

void CommandRunner::runChangeCategory(int pane, const std::optional<std::string>& dropTarget,
                                      const std::vector<std::size_t>& rows,
                                      const std::vector<std::string>& builtIns) {
  if (busy_) return;
  RunScope run(busy_, ports_.progress, statusSink_);
  auto& catalogue = host_.catalogue(pane);
  QStringList choices;
  for (const auto& choice : plugins::changeCategoryChoices(catalogue))
    choices << fromCp1252(choice);
  CategoryPrompter prompter(ports_.prompter, changeCategoryDialog(), choices);
  plugins::ChangeCategoryRequest request{host_.view(pane), rows, dropTarget, builtIns};
  auto outcome = plugins::cmd_ChangeCategory(request, catalogue, prompter, settings_.ffOptions);
  if (!outcome.changedRows.empty()) {
    host_.showCategories(pane, outcome.newCategory);
    host_.checkPhotoshopMode(pane);
    std::vector<std::filesystem::path> folders;
    for (auto row : outcome.changedRows) {
      auto folder = catalogue.row(row).path.parent_path();
      if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(folder);
    }
    for (const auto& folder : folders) filesChangedIn(folder, pane);
  }
}

void CommandRunner::enableDisable() {
  if (busy_) return;
  RunScope run(busy_, ports_.progress, statusSink_);
  const int pane = host_.activePane();
  const auto view = host_.view(pane);
  const auto files = view == shell::PaneView::File ? host_.selectedFiles(pane)
                                                   : std::vector<std::filesystem::path>{};
  const auto rows =
      view == shell::PaneView::Plugin ? host_.selectedRows(pane) : std::vector<std::size_t>{};
  auto outcome = plugins::cmd_EnableDisable(view, files, rows, &host_.catalogue(pane),
                                            settings_.typeTable, ports_.prompter);
  if (view == shell::PaneView::Plugin) {
    for (const auto& renamed : outcome.renamed)
      host_.setEntryState(
          pane, renamed.to,
          plugins::isEnabledName(renamed.to.filename().native(), settings_.typeTable));
    host_.checkPhotoshopMode(pane);
    host_.refreshFilterStatus(pane);
    host_.refreshFiles(pane);
  } else if (view == shell::PaneView::File) {
    if (!outcome.renamed.empty()) host_.catalogue(pane).markStale();
    host_.refreshFiles(pane);
    // The renamed files stay selected, so a second click turns them back.
    std::vector<std::filesystem::path> renamed;
    for (const auto& r : outcome.renamed) renamed.push_back(r.to);
    if (!renamed.empty()) host_.selectFiles(pane, renamed);
  }
  for (const auto& renamed : outcome.renamed) filesChangedIn(renamed.to.parent_path(), pane);
}

void CommandRunner::pluginInformation() {
  if (busy_) return;
  const int pane = host_.activePane();
  const auto view = host_.view(pane);
  const auto files = view == plugins::PaneView::Ffl ? std::vector<std::filesystem::path>{}
                                                    : selectedFileList(pane);
  if (files.empty()) {
    // The engine words the refusals (wrong view, nothing selected).
    plugins::cmd_PlugInInformation(view, std::nullopt, settings_.typeTable, settings_.ffOptions,
                                   ports_.prompter);
    return;
  }
  // Decision: with several files selected the first one in list order is described.
  pluginInformationFor(files.front());
}

void CommandRunner::pluginInformationFor(const std::filesystem::path& file) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto facts = plugins::pluginFacts(file, settings_.typeTable, settings_.ffOptions);
  QApplication::restoreOverrideCursor();
  if (facts.label)
    ports_.prompter.inform(pluginInformationMessage(facts, messageBoxFont()).toStdString(),
                           plugins::kPluginInformationTitle);
  else
    ports_.prompter.warn(plugins::unknownTypeText(facts.fileName),
                         plugins::kPluginInformationTitle);
}

void CommandRunner::pluginList() {
  if (busy_) return;
  const int pane = host_.activePane();
  plugins::PluginListRequest request;
  request.view = host_.view(pane);
  const bool ffl = request.view == plugins::PaneView::Ffl;
  if (ffl) {
    request.library = host_.fflLibrary(pane);
    request.fflEntries = loadFflEntries(request.library, host_.selectedFflPositions(pane));
  } else {
    request.files = selectedFileList(pane);
  }
  // With nothing selected the engine refuses before the dialog would show.
  if (ffl ? !request.fflEntries.empty() : !request.files.empty()) {
    auto choice = pluginListDialog().choose();
    if (!choice) return;
    request.fields = choice->fields;
    request.csv = choice->csv;
    request.toClipboard = choice->toClipboard;
    request.fileName = listFileName(choice->fileName);
  }
  RunScope run(busy_, ports_.progress, statusSink_);
  auto outcome =
      plugins::cmd_PlugInList(request, ports_.prompter, &clipboard_, settings_.ffOptions);
  if (outcome.written) filesChangedIn(outcome.written->parent_path());
  host_.refreshFiles(pane);
}

}  // namespace qm::gui
