// The Filter Factory Editor window on the offscreen platform: live preview, deactivated
// sliders, the letters of empty boxes, paste, the alpha view, saving, the design's outline and
// opening a source from the main window. The rules behind them are the core's tests.

#include <QClipboard>
#include <QtTest>

#include "gui/editor/ff_editor_window.h"
#include "gui/gui_fixture.h"
#include "support/ff_sources.h"
#include "support/scripted_ports.h"

using namespace qm;
namespace fs = std::filesystem;

namespace {

struct EditorRig {
  test::TempFolder programDir;
  settings::MemoryStore store;
  gui::AppContext context{programDir.path(), store, {}, {}, {}, {}};
  test::ScriptedPrompter prompter;
  std::unique_ptr<gui::FFEditorWindow> window;

  explicit EditorRig(const std::array<std::string, 4>& rgba) {
    fs::copy_file(fs::path(QM_DATA_DIR) / "photo30.dll", programDir / "photo30.dll");
    context.ffOptions.programDir = programDir.path();
    context.options.interfaceDesign = "Plain.des";
    test::writeFile(programDir / "interface" / "Plain.des",
                    "\"plain\",\"\",2,780,540,Rect,0,0,780,540,0,0,Rect,0,0,1,1,0,0,RGN_COPY\n");
    window = std::make_unique<gui::FFEditorWindow>(context, &prompter);
    window->loadRecord(filter(rgba));
  }

  static ff::FFRecord filter(const std::array<std::string, 4>& rgba) {
    ff::FFRecord rec;
    rec.fileName = "Test.afs";
    rec.title = "Test";
    rec.formulas = rgba;
    rec.controlNames[0] = "Level";
    return rec;
  }

  QRgb previewPixel(int x, int y) {
    window->finishPreview();
    return window->previewBox()->pixmap().toImage().pixel(x, y);
  }
};

}  // namespace

class EditorTest : public QObject {
  Q_OBJECT
 private slots:
  void sliderMoveUpdatesThePreview() {
    EditorRig rig({"ctl(0)", "x", "255", "a"});
    QCOMPARE(qRed(rig.previewPixel(0, 0)), 0);
    for (int value : {200, 17}) {
      rig.window->slider(0)->setValue(value);
      QCOMPARE(qRed(rig.previewPixel(3, 2)), value);
      QCOMPARE(rig.window->valueBox(0)->value(), value);
    }
    rig.window->valueBox(0)->setValue(99);  // typed as a number
    QCOMPARE(qRed(rig.previewPixel(0, 0)), 99);
    QCOMPARE(qGreen(rig.previewPixel(5, 0)), 5);
  }

  void deactivatedSliderKeepsItsValueOnRandomize() {
    EditorRig rig({"r", "g", "b", "a"});
    auto rec = EditorRig::filter({"r", "g", "b", "a"});
    rec.controlNames[1] = "Spread";
    rec.sliderValues[1] = 7;
    rig.window->loadRecord(rec);
    rig.window->show();
    rig.window->valueBox(1)->setFocus();
    QApplication::processEvents();
    QCOMPARE(rig.window->selectedSlider(), 1);
    rig.window->findChild<QAction*>("mnuDeactivate_FFE")->trigger();
    QVERIFY(rig.window->nameLabel(1)->struckThrough());
    for (int k = 0; k < 5; ++k) rig.window->randomize();
    QCOMPARE(rig.window->valueBox(1)->value(), 7);
  }

  void rejectedPasteLeavesTheEditorAsItWas() {
    EditorRig rig({"r/2", "g", "b", "a"});
    const ff::FFRecord before = rig.window->gatheredRecord();
    QApplication::clipboard()->setText("just some words, no filter here");
    rig.window->pasteFilterFromClipboard();
    QVERIFY(rig.window->gatheredRecord() == before);
    QVERIFY(!fs::exists(rig.programDir / "Temp.tmp"));
    QApplication::clipboard()->setText(
        "Title: Pasted\r\nR:255-r\r\n\r\nG:g\r\n\r\nB:b\r\n\r\nA:a\r\n");
    rig.window->pasteFilterFromClipboard();
    QCOMPARE(rig.window->box(1)->toPlainText(), QString("255-r"));
    QCOMPARE(rig.window->textLabel(2)->text(), QString("Pasted"));
  }

  void alphaLabelOnlyForAnAlphaFormulaAndEmptyBoxesRefilled() {
    EditorRig rig({"r", "g", "b", "a"});
    rig.window->alphaViewAction()->setChecked(true);
    rig.window->finishPreview();
    QVERIFY(rig.window->alphaLabel()->isHidden());
    rig.window->box(0)->setPlainText("255-x");
    rig.window->box(2)->clear();  // an emptied box gets its letter back
    rig.window->updatePreview();
    QCOMPARE(rig.window->box(2)->toPlainText(), QString("g"));
    QCOMPARE(qBlue(rig.previewPixel(5, 0)), 250);  // i = 255 - x shown in every channel
    QVERIFY(!rig.window->alphaLabel()->isHidden());
    rig.window->alphaViewAction()->setChecked(false);
    rig.window->finishPreview();
    QVERIFY(rig.window->alphaLabel()->isHidden());
  }

  void saveWritesTheChosenFormat() {
    EditorRig rig({"r", "g", "b", "a"});
    test::TempFolder out;
    rig.prompter.folderChoice = FolderChoice{out.path(), false};
    rig.window->saveFormatBox()->setCurrentIndex(0);  // Photoshop plugin from "Test.afs"
    rig.window->saveFilter();
    QCOMPARE(fs::file_size(out / "Test.8bf"), std::uintmax_t{57344});
    rig.window->saveFormatBox()->setCurrentIndex(3);
    rig.window->saveFilter();
    QVERIFY(test::readFile(out / "Test.txt").starts_with("Title: Test\r\n"));

    // "Both" writes the 64-bit plugin and the 32-bit one beside it.
    fs::copy_file(fs::path(QM_DATA_DIR) / "photo64.dll", rig.programDir / "photo64.dll");
    QMenu menu;
    rig.window->fillEditorMenu(&menu);
    for (QAction* a : menu.findChild<QMenu*>("mnuArchitecture_FFE")->actions())
      if (a->text().startsWith("Both")) a->trigger();
    test::TempFolder both;
    rig.prompter.folderChoice = FolderChoice{both.path(), false};
    rig.window->saveFormatBox()->setCurrentIndex(0);
    rig.window->saveFilter();
    QCOMPARE(fs::file_size(both / "Test.8bf"), std::uintmax_t{69632});
    QCOMPARE(fs::file_size(both / "Test.x86.8bf"), std::uintmax_t{57344});
    rig.window->textLabel(0)->setText("Filename");
    rig.window->saveFilter();
    QCOMPARE(rig.prompter.messages.back().text, std::string("Filename isn't specified!"));
  }

  void designOutlineHasTheShapesArea() {
    EditorRig rig({"r", "g", "b", "a"});
    test::writeFile(rig.programDir / "interface" / "Shape.des",
                    "\"t\",\"\",3,200,100\r\nRect,0,0,100,100,0,0\r\nRect,100,0,200,50,0,0\r\n"
                    "RGN_OR\r\nRect,0,0,10,10,0,0\r\nRGN_DIFF\r\nGraphSlider4\r\n");
    rig.window->applyDesign("Shape.des");
    int area = 0;
    for (const QRect& r : rig.window->mask()) area += r.width() * r.height();
    QCOMPARE(area, 100 * 100 + 100 * 50 - 10 * 10);
    QCOMPARE(rig.window->graphicSlider(0)->styleIndex(), 4);
    QVERIFY(rig.window->slider(0)->isHidden() && rig.window->hotspot()->isHidden());
  }

  void doubleClickedSourceOpensInTheEditor() {
    test::StartedWindow started;
    started.start();
    test::TempFolder folder;
    auto file = test::writeFile(folder / "Wave.afs", test::afsSource("Wave", "255-r"));
    QVERIFY(!started.window->ffEditorIfMade());
    started.window->openFile(file);
    gui::FFEditorWindow* editor = started.window->ffEditorIfMade();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(editor->box(1)->toPlainText(), QString("255-r"));
    QCOMPARE(editor->textLabel(2)->text(), QString("Wave"));
    QVERIFY(started.window->findChild<QMenu*>("mnuFFEditor")->isEnabled());
    started.close();
  }
};

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
