// What the window's commands act on: the active pane stays the one the user works in, the
// buttons run whatever the menu last showed, Properties describes the selection, and a
// destructive question names its file and answers No to a plain Enter.

#include <QMimeDatabase>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "gui/main/file_view.h"
#include "gui/main/properties_dialog.h"
#include "window_fixture.h"

using namespace qm;

namespace {

// Runs handle on the next modal window, then lets it close; the window runs its own loop.
void onNextModal(std::function<void(QWidget*)> handle) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, handle] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    poll->stop();
    poll->deleteLater();
    handle(modal);
  });
  poll->start();
}

}  // namespace

class CommandTargetsTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void refreshingTheOtherPaneKeepsTheActivePane();
  void buttonRunsWhileItsMenuEntryIsGreyed();
  void propertiesDescribeTheSelectionNotTheFocus();
  void killNamesTheFileAndEnterAnswersNo();

 private:
  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::StartedWindow> w_;
  gui::MainWindow& window() { return *w_->window; }
  gui::FileView* leftFiles() { return w_->window->pane(0)->fileView(); }
};

void CommandTargetsTest::init() {
  folder_ = std::make_unique<test::TempFolder>();
  for (const char* name : {"Wave.8bf", "notes.txt", "empty.zip"})
    test::writeFile(*folder_ / name, "12345");
  w_ = std::make_unique<test::StartedWindow>();
  w_->start(folder_->path());
}

void CommandTargetsTest::cleanup() {
  w_->close();
  w_.reset();
  folder_.reset();
}

void CommandTargetsTest::refreshingTheOtherPaneKeepsTheActivePane() {
  test::TempFolder target;
  w_->context.options.passivePaneFolder = true;  // no Select Folder dialog
  window().pane(1)->setFolder(target.path());
  window().setActivePane(1);
  window().showView(gui::View::Plugin);
  QTRY_VERIFY_WITH_TIMEOUT(!window().busy(), 20000);
  window().setActivePane(0);
  QVERIFY(leftFiles()->selectName("Wave.8bf"));

  window().menus().action("mnuCopy")->trigger();  // refreshes the right pane's Plugin View
  QTRY_VERIFY_WITH_TIMEOUT(!window().busy(), 20000);

  QVERIFY(std::filesystem::exists(target / "Wave.8bf"));
  QCOMPARE(window().activePane(), 0);
  QCOMPARE(window().pane(0)->selectedPaths(), std::vector{*folder_ / "Wave.8bf"});
}

void CommandTargetsTest::buttonRunsWhileItsMenuEntryIsGreyed() {
  QVERIFY(leftFiles()->selectName("empty.zip"));
  window().updateCommandAvailability();
  QVERIFY(!window().menus().action("mnuConvert")->isEnabled());
  leftFiles()->activeView()->clearSelection();

  test::MessageCatcher messages;
  window().findChild<QPushButton*>("convertButton")->click();

  QCOMPARE(messages.wait(), QString("Please select one or more files."));
  emit window().menus().menu("mnuCommands")->aboutToHide();
  QVERIFY(window().menus().action("mnuConvert")->isEnabled());
}

void CommandTargetsTest::propertiesDescribeTheSelectionNotTheFocus() {
  QVERIFY(leftFiles()->selectName("Wave.8bf"));
  auto* view = leftFiles()->activeView();
  QModelIndex notes = view->model()->index(1, 0);
  QCOMPARE(notes.data().toString(), QString("notes.txt"));
  view->selectionModel()->setCurrentIndex(notes, QItemSelectionModel::NoUpdate);

  QString title;
  onNextModal([&title](QWidget* dialog) {
    title = dialog->windowTitle();
    dialog->close();
  });
  window().showProperties();
  QCOMPARE(title, QString("Wave.8bf Properties"));

  // A text file is what the desktop calls it, not a plugin category.
  auto txt = *folder_ / "notes.txt";
  QString label = gui::typeLabel(txt, w_->context.typeTable, w_->context.ffOptions);
  QCOMPARE(label, QMimeDatabase().mimeTypeForFile(QString::fromStdString(txt.string())).comment());
}

void CommandTargetsTest::killNamesTheFileAndEnterAnswersNo() {
  QVERIFY(leftFiles()->selectName("notes.txt"));
  QString text;
  bool defaultIsNo = false;
  onNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box);
    text = box->text();
    defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
    QTest::keyClick(box, Qt::Key_Return);
  });

  window().menus().action("mnuKill")->trigger();

  QString file = QString::fromStdString((*folder_ / "notes.txt").string());
  QCOMPARE(text, file + " will be erased and won't be put in the trash can.\nProceed anyway?");
  QVERIFY(defaultIsNo);
  QVERIFY(std::filesystem::exists(*folder_ / "notes.txt"));
}

QTEST_MAIN(CommandTargetsTest)
#include "command_targets_test.moc"
