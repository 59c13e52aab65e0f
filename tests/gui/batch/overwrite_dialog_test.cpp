#include "gui/batch/overwrite_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using qm::OverwriteAnswer;
using qm::OverwriteQuestion;
using qm::gui::OverwriteDialog;

class OverwriteDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsBothLinesOnlyWithASource() {
    OverwriteDialog dialog;
    dialog.setQuestion({"/out/a.afs  (12 bytes, 2026-01-02 03:04:05)",
                        "/in/a.8bf  (57344 bytes, 2026-01-01 00:00:00) ?"});
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Overwrite?"));
    QCOMPARE(label(dialog, "destinationLine")->text(),
             QString("/out/a.afs  (12 bytes, 2026-01-02 03:04:05)"));
    QCOMPARE(label(dialog, "sourceLine")->text(),
             QString("/in/a.8bf  (57344 bytes, 2026-01-01 00:00:00) ?"));
    QVERIFY(label(dialog, "withLabel")->isVisible());
    QCOMPARE(label(dialog, "withLabel")->text(), QString("With:"));

    // Without a source both the "With:" line and the source line go.
    dialog.setQuestion({"/out/a.afs  (1 bytes, x) ?", std::nullopt});
    QVERIFY(!label(dialog, "withLabel")->isVisible());
    QVERIFY(!label(dialog, "sourceLine")->isVisible());
    QCOMPARE(label(dialog, "destinationLine")->text(), QString("/out/a.afs  (1 bytes, x) ?"));
  }

  void eachButtonGivesItsCode_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("code");
    QTest::newRow("overwrite") << "overwriteButton"
                               << "Overwrite" << 0;
    QTest::newRow("ignore") << "ignoreButton"
                            << "Ignore" << 1;
    QTest::newRow("overwrite all") << "overwriteAllButton"
                                   << "Overwrite All" << 2;
    QTest::newRow("ignore all") << "ignoreAllButton"
                                << "Ignore All" << 3;
    QTest::newRow("cancel") << "cancelButton"
                            << "Cancel" << 4;
  }

  void eachButtonGivesItsCode() {
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(int, code);
    OverwriteDialog dialog;
    QString seenCaption;
    QTimer::singleShot(0, [&] {
      auto* modal = QApplication::activeModalWidget();
      QVERIFY(modal != nullptr);
      auto* pressed = modal->findChild<QPushButton*>(button);
      QVERIFY(pressed != nullptr);
      seenCaption = pressed->text();
      pressed->click();
    });
    auto answer = dialog.ask({"/out/a  (1 bytes, x) ?", std::nullopt});
    QCOMPARE(static_cast<int>(answer), code);
    QCOMPARE(seenCaption, caption);
    QVERIFY(!dialog.isVisible());
  }

 private:
  static QLabel* label(QDialog& dialog, const char* name) {
    auto* found = dialog.findChild<QLabel*>(name);
    if (found == nullptr) qFatal("no label %s", name);
    return found;
  }
};

QTEST_MAIN(OverwriteDialogTest)
#include "overwrite_dialog_test.moc"
