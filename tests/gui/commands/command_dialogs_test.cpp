// The Change Category and Plugin List dialogs, and the Plugin Information text.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "command_fixture.h"
#include "core/plugins/change_category.h"
#include "gui/commands/category_prompter.h"
#include "gui/commands/change_category_dialog.h"
#include "gui/commands/plugin_information_box.h"
#include "gui/commands/plugin_list_dialog.h"
#include "support/scripted_ports.h"

namespace {

const QString kCategoryCaption = "Choose or enter a new category";

void typeAndConfirm(QWidget* dialog, const QString& text) {
  auto* combo = dialog->findChild<QComboBox*>("Combo1");
  combo->setEditText(text);
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
}

}  // namespace

class CommandDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void categoryDialogListsChoicesAndConfirms() {
    qm::gui::ChangeCategoryDialog dialog;
    QCOMPARE(dialog.windowTitle(), kCategoryCaption);

    qm::test::whenModal(kCategoryCaption, [](QWidget* d) {
      auto* combo = d->findChild<QComboBox*>("Combo1");
      QCOMPARE(combo->count(), 2);
      QVERIFY(combo->currentText().isEmpty());
      emit combo->activated(1);  // picking an entry confirms at once
    });
    QCOMPARE(dialog.ask({"Blur", "Noise"}), std::optional<QString>("Noise"));

    qm::test::whenModal(kCategoryCaption, [](QWidget* d) { typeAndConfirm(d, "Warp"); });
    QCOMPARE(dialog.ask({"Blur"}), std::optional<QString>("Warp"));

    qm::test::whenModal(kCategoryCaption,
                        [](QWidget* d) { d->findChild<QPushButton*>("cancelButton")->click(); });
    QCOMPARE(dialog.ask({"Blur"}), std::nullopt);
  }

  void categoryDialogHelpAndFocus() {
    qm::gui::ChangeCategoryDialog dialog;
    QSignalSpy help(&dialog, &qm::gui::ChangeCategoryDialog::helpRequested);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toString(), QString("buttonbar_ChangeCat.htm"));

    dialog.combo()->setEditText("Stylize");
    dialog.combo()->clearFocus();
    dialog.combo()->setFocus();
    QTRY_COMPARE(dialog.combo()->lineEdit()->selectedText(), QString("Stylize"));
  }

  // The engine asks again after a "[Premiere" answer; the dialog shows again, empty.
  void premiereAnswerShowsTheDialogAgain() {
    qm::plugins::Catalogue catalogue;
    catalogue.appendRow({"/nowhere/a.8bf", "Blur", "A", 5, 0, std::nullopt});
    catalogue.appendRow({"/nowhere/b.8bf", "[Premiere FF]", "B", 0, 0, std::nullopt});
    qm::test::ScriptedPrompter inner;
    qm::gui::ChangeCategoryDialog dialog;
    qm::gui::CategoryPrompter prompter(inner, dialog, {"Blur"});
    QStringList secondShowing;
    qm::test::whenModal(kCategoryCaption, [&](QWidget* d) {
      typeAndConfirm(d, "[Premiere Video]");
      qm::test::whenModal(kCategoryCaption, [&](QWidget* again) {
        auto* combo = again->findChild<QComboBox*>("Combo1");
        secondShowing << combo->currentText() << QString::number(combo->count());
        typeAndConfirm(again, "Brand New");
      });
    });
    qm::plugins::ChangeCategoryRequest request{qm::plugins::PaneView::Plugin, {1}, std::nullopt};
    auto outcome = qm::plugins::cmd_ChangeCategory(request, catalogue, prompter, {});

    QCOMPARE(secondShowing, QStringList({"", "1"}));
    QCOMPARE(QString::fromStdString(outcome.newCategory), QString("Brand New"));
    // The row is no Filter Factory plugin: nothing moved, so the new category is not listed.
    QCOMPARE(outcome.failures, std::size_t{1});
    const auto& categories = catalogue.categories();
    QVERIFY(std::find(categories.begin(), categories.end(), "Brand New") == categories.end());
  }

  void pluginListEnablingRules() {
    qm::gui::PluginListDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Plugin List"));
    auto* include = dialog.findChild<QGroupBox*>();
    auto* csv = dialog.findChild<QCheckBox*>("csvBox");
    auto* clipboard = dialog.findChild<QCheckBox*>("clipboardBox");
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    auto* start = dialog.findChild<QPushButton*>("startButton");
    QCOMPARE(name->text(), QString("FFL-List.txt"));
    QCOMPARE(clipboard->toolTip(), QString("Exports the plugin list to the clipboard"));
    QVERIFY(include->isEnabled() && name->isEnabled() && start->isEnabled());

    csv->setChecked(true);
    QVERIFY(!include->isEnabled());
    name->clear();
    QVERIFY(!start->isEnabled());
    clipboard->setChecked(true);
    QVERIFY(start->isEnabled() && !name->isEnabled());
    clipboard->setChecked(false);
    csv->setChecked(false);
    QVERIFY(include->isEnabled() && !start->isEnabled());
  }

  void informationRuleIsAsWideAsTheFilterLines() {
    qm::plugins::PluginFacts facts;
    facts.label = "Photoshop Filter Plugin";
    facts.filters = {{"Blur", "Wide Wide Wide Filter", 0, 0}, {"Noise", "Mmmm", 0, 0}};
    facts.filterFactory = false;
    QFont font = qm::gui::messageBoxFont();
    QStringList lines = qm::gui::pluginInformationMessage(facts, font).split('\n');
    QCOMPARE(lines.at(0), QString("Blur: Wide Wide Wide Filter"));
    QCOMPARE(lines.at(1), QString("Noise: Mmmm"));
    QCOMPARE(lines.at(3), QString("Type: Photoshop Filter Plugin"));
    QFontMetrics metrics(font);
    const int widest = metrics.horizontalAdvance(lines.at(0));
    const int rule = metrics.horizontalAdvance(lines.at(2));
    QVERIFY(lines.at(2).count('-') == lines.at(2).size());
    QVERIFY(rule >= widest);
    QVERIFY(metrics.horizontalAdvance(lines.at(2).mid(1)) < widest);
  }
};

QTEST_MAIN(CommandDialogsTest)
#include "command_dialogs_test.moc"
