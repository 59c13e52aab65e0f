// FX Download: the list files through the window, the save question on tab change and close,
// the keys of the list.

#include <QAbstractButton>
#include <QtTest>

#include "gui/download/download_window.h"
#include "gui/gui_fixture.h"
#include "platform/desktop_services.h"

using namespace qm;

namespace {

// Answers the next message box with button and records its text.
void answerBox(QMessageBox::StandardButton button, QString* text) {
  test::whenModal("FX Download", [=](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    QVERIFY(box);
    *text = box->text();
    box->button(button)->click();
  });
}

QStringList listed(const gui::DownloadWindow& window) {
  return test::rowTexts(window.list()->model());
}

}  // namespace

class DownloadTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    dir_ = std::make_unique<test::TempFolder>();
    opened_.clear();
    desktop_ = std::make_unique<platform::DesktopServices>(
        dir_->path(),
        [this](const QString& url) {
          opened_ << url;
          return true;
        },
        [](std::string_view) {});
  }

  void tabChangeAsksOnlyAfterAChange() {
    test::writeFile(*dir_ / "FilterURLs.txt", "a b ; x;y\r\n\r\nc;http://c\r\n");
    test::writeFile(*dir_ / "TubeURLs.txt", "t;http://t\r\n");
    gui::DownloadWindow window(dir_->path(), *desktop_);
    QCOMPARE(listed(window), (QStringList{"a b", "", "c"}));
    QCOMPARE(window.urlLabel()->text(), QString("x;y"));
    bool asked = false;  // a question would be open when the timer fires
    QTimer::singleShot(0, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) asked = true, modal->close();
    });
    window.tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    QVERIFY(!asked);
    QCOMPARE(listed(window), QStringList{"t"});
    window.tabs()->setCurrentIndex(0);
    QTest::keyClick(window.list(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(listed(window), (QStringList{"", "a b", "c"}));
    QCOMPARE(window.list()->currentRow(), 1);
    QString question;
    answerBox(QMessageBox::Ok, &question);
    window.tabs()->setCurrentIndex(1);
    QCOMPARE(question, QString("Do you want to save the changes in the Plugins List ?"));
    QCOMPARE(test::readFile(*dir_ / "FilterURLs.txt"),
             std::string("\r\na b;x;y\r\nc;http://c\r\n"));
    QCOMPARE(listed(window), QStringList{"t"});
    QVERIFY(!window.changed());
  }

  void cancelKeepsTheFile() {
    const std::string original = "keep;http://k\r\n";
    test::writeFile(*dir_ / "TubeURLs.txt", original);
    gui::DownloadWindow window(dir_->path(), *desktop_);
    window.tabs()->setCurrentIndex(1);
    QTest::keyClick(window.list(), Qt::Key_Delete);
    QCOMPARE(listed(window), QStringList{});
    QString question;
    answerBox(QMessageBox::Cancel, &question);
    QVERIFY(!window.save());
    QCOMPARE(question, QString("Do you want to save the changes in the PSP Tubes List ?"));
    QCOMPARE(test::readFile(*dir_ / "TubeURLs.txt"), original);
    QVERIFY(window.changed());
    answerBox(QMessageBox::Cancel, &question);
    window.close();
    QCOMPARE(test::readFile(*dir_ / "TubeURLs.txt"), original);
  }

  void addEditConnectAndShare() {
    gui::DownloadWindow window(dir_->path(), *desktop_);  // no list file: an empty list
    QCOMPARE(window.list()->count(), 0);
    test::answerWhenModal("Add item name", "Filters");
    test::answerWhenModal("Add item URL", "https://f.example.org/");
    window.add();
    test::answerWhenModal("Edit item", "More Filters");
    window.edit(false);
    QCOMPARE(listed(window), QStringList{"More Filters"});
    window.connectSelected();
    QCOMPARE(opened_, QStringList{"https://f.example.org/"});
    test::answerWhenModal("Add item name", "");  // an empty name adds nothing
    window.add();
    QCOMPARE(window.list()->count(), 1);
    QString text;
    answerBox(QMessageBox::Ok, &text);
    window.share();
    QCOMPARE(text, QString("The URLs of this tab sheet are saved under\n\n%1/FilterURLs.txt")
                       .arg(QString::fromStdString(dir_->path().string())));
    answerBox(QMessageBox::Ok, &text);
    window.close();
    QCOMPARE(test::readFile(*dir_ / "FilterURLs.txt"),
             std::string("More Filters;https://f.example.org/\r\n"));
  }

 private:
  std::unique_ptr<test::TempFolder> dir_;
  std::unique_ptr<platform::DesktopServices> desktop_;
  QStringList opened_;
};

QTEST_MAIN(DownloadTest)
#include "download_test.moc"
