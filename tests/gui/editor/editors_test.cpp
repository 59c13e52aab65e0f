// The Filter Factory Editor, the Picture Editor, the host's Filter Factory dialog and the main
// window's preview panel, driven as a user would; the rules behind them are the core's tests.

#include <QClipboard>
#include <QCompleter>
#include <QImageReader>
#include <QPrinter>
#include <QProcess>
#include <QSplitter>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtTest>
#include <set>

#include "core/host/preview_picture.h"
#include "gui/batch/overwrite_dialog.h"
#include "gui/batch/select_folder_dialog.h"
#include "gui/editor/error_list.h"
#include "gui/editor/ff_editor_window.h"
#include "gui/editor/find_bar.h"
#include "gui/editor/formula_tools.h"
#include "gui/gui_fixture.h"
#include "gui/host_dialog/ff_host_dialog.h"
#include "gui/main/ffl_view.h"
#include "gui/main/file_view.h"
#include "gui/main/preview_panel.h"
#include "gui/picture/picture_editor.h"
#include "gui/picture/picture_loading.h"
#include "platform/image_codec.h"
#include "support/ff_plugin_bytes.h"
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
    ff::FFRecord rec;
    rec.fileName = "Test.afs";
    rec.title = "Test";
    rec.formulas = rgba;
    rec.controlNames = {"Level", "Spread"};
    rec.sliderValues[1] = 7;
    window->loadRecord(rec);
  }

  // Copies a design the program ships into the program folder and shows the editor in it.
  void useShippedDesign(const char* name) {
    fs::copy_file(fs::path(QM_DATA_DIR) / "interface" / name, programDir / "interface" / name);
    window->applyDesign(name);
  }

  QRgb previewPixel(int x, int y) {
    window->finishPreview();
    return window->previewBox()->pixmap().toImage().pixel(x, y);
  }
};

// Colour depends on the position, so a wrong or shifted pixel shows.
QImage gradient(int w, int h) {
  QImage image(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixelColor(x, y, QColor(x * 255 / w, y * 255 / h, 60));
  return image;
}

}  // namespace

class EditorsTest : public QObject {
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
    // It says why.
    QCOMPARE(rig.prompter.messages.back().title, std::string("Paste Filter from Clipboard"));
    QVERIFY(rig.prompter.messages.back().text.starts_with(
        "The clipboard text is not a Filter Factory source: it needs the formulas under"));
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
    QCOMPARE(fs::file_size(both / "Test.8bf"), std::uintmax_t{94208});
    QCOMPARE(fs::file_size(both / "Test.x86.8bf"), std::uintmax_t{57344});
    rig.window->textLabel(0)->setText("Filename");
    rig.window->saveFilter();
    QCOMPARE(rig.prompter.messages.back().text, std::string("Filename isn't specified!"));
  }

  // A source whose formulas hold errors is written only when the user says so; a plugin
  // never, with `check`'s words.
  void saveAsksBeforeWritingFormulasWithErrors() {
    EditorRig rig({"r", "g+", "b", "a"});
    test::TempFolder out;
    rig.prompter.folderChoice = FolderChoice{out.path(), false};
    const std::string question =
        "The formulas hold errors (the first: G:3: unexpected end of formula).\r\nThe saved "
        "filter will not run until they are mended. Save it anyway?";
    // (format, answer) -> file written
    const std::tuple<int, Button, const char*, bool> cases[] = {
        {3, Button::No, "Test.txt", false},
        {1, Button::Yes, "Test.afs", true},
        {2, Button::Yes, "Test.pff", true},
    };
    for (const auto& [format, answer, name, written] : cases) {
      rig.prompter.messages.clear();
      rig.prompter.askAnswers = {answer};
      rig.window->saveFormatBox()->setCurrentIndex(format);
      rig.window->saveFilter();
      QCOMPARE(fs::exists(out / name), written);
      QCOMPARE(rig.prompter.messages.size(), std::size_t{1});
      QCOMPARE(rig.prompter.messages[0].text, question);
      QVERIFY(rig.prompter.messages[0].buttons == Buttons::YesNoDefaultNo);
    }
    rig.prompter.messages.clear();
    rig.window->saveFormatBox()->setCurrentIndex(0);
    rig.window->saveFilter();
    QVERIFY(!fs::exists(out / "Test.8bf"));
    QCOMPARE(rig.prompter.messages.size(), std::size_t{1});
    QVERIFY(rig.prompter.messages[0].kind == test::MessageKind::Error);
    QVERIFY2(
        rig.prompter.messages[0].text.find("G:3: unexpected end of formula") != std::string::npos,
        rig.prompter.messages[0].text.c_str());
  }

  // One box ("C="): what the preview shows is what Save and Copy write; the hidden boxes never.
  void oneBoxModeSavesAndCopiesTheCFormula() {
    EditorRig rig({"r/2", "g/3", "b/4", "a"});
    rig.window->setOneBoxMode(true);
    const std::string twirl = "rad(d+ctl(0)*(M-m)/M,m,z)";
    rig.window->box(1)->setFormula(twirl);
    test::TempFolder out;
    rig.prompter.folderChoice = FolderChoice{out.path(), false};
    rig.window->saveFormatBox()->setCurrentIndex(3);
    rig.window->saveFilter();
    const std::string saved = test::readFile(out / "Test.txt");
    for (const char* channel : {"R:", "G:", "B:"})
      QVERIFY2(saved.find(channel + twirl + "\r\n") != std::string::npos, channel);
    QVERIFY(saved.find("g/3") == std::string::npos && saved.find("b/4") == std::string::npos);
    rig.window->copyFilterToClipboard();
    QVERIFY(QApplication::clipboard()->text().contains(QString::fromStdString("B:" + twirl)));
    // The caption names the box as it is labelled, with the column.
    rig.window->box(1)->setPlainText("r+foo");
    QCOMPARE(rig.window->windowTitle(), QString("C= column 3: unknown name 'foo'"));
    // A filter whose colours differ comes in with its three boxes.
    ff::FFRecord rec = rig.window->gatheredRecord();
    rec.formulas = {"r", "255-g", "b", "a"};
    rig.window->loadRecord(rec);
    QVERIFY(!rig.window->oneBoxMode());
    QCOMPARE(rig.window->box(2)->toPlainText(), QString("255-g"));
  }

  void saveGoesThroughSelectFolderAndMovesThePassivePane() {
    struct Panes : gui::SelectFolderHost {
      fs::path active, passive, shown;
      fs::path activePaneFolder() const override { return active; }
      fs::path passivePaneFolder() const override { return passive; }
      std::vector<fs::path> preferenceFolders() const override { return {}; }
      void showInPassivePane(const fs::path& folder) override { shown = folder; }
      void folderCreated(const fs::path&) override {}
    } panes;
    test::TempFolder root;
    panes.active = root.path();
    panes.passive = root.path();
    test::ScriptedPrompter asked;
    asked.askAnswers = {Button::Yes};
    gui::SelectFolderDialog selectFolder(panes, asked);
    gui::OverwriteDialog overwrite;
    EditorRig rig({"r", "g", "b", "a"});
    rig.window->hooks().selectFolder = &selectFolder;
    rig.window->hooks().overwriteDialog = &overwrite;
    const fs::path made = root / "made";
    QStringList offered;
    test::whenModal("Select Folder", [&](QWidget* dialog) {
      offered = test::rowTexts(dialog->findChild<QComboBox*>("Combo1")->model());
      test::typeIntoCombo(dialog, QString::fromStdString(made.string()));
    });
    rig.window->saveFormatBox()->setCurrentIndex(1);
    rig.window->saveFilter();
    QCOMPARE(offered.size(), 1);  // the two panes show one folder
    QVERIFY(fs::exists(made / "Test.afs"));
    QCOMPARE(asked.messages.at(0).text,
             made.string() + "/ doesn't exist!\r\nDo you want to create it?");
    QVERIFY(fs::equivalent(panes.shown, made));
    QVERIFY(rig.prompter.messages.empty());
  }

  void fflEntryAndDecompilerTextOpenInTheEditor() {
    test::StartedWindow started;
    test::TempFolder folder;
    ff::FFRecord entry;
    entry.fileName = "Two.8bf";
    entry.title = "Soft Two";
    entry.formulas = {"255-r", "g", "b/2", "a"};
    entry.controlNames[1] = "Depth";
    test::writeFile(folder / "Lib.ffl",
                    test::fflLibrary({test::fflEntry("One.8bf", "One"), test::fflEntryOf(entry)}));
    started.start(folder.path());
    gui::MainWindow& window = *started.window;
    window.active()->fileView()->selectName("Lib.ffl");
    window.showView(gui::View::Ffl);
    QTreeWidget* list = window.active()->fflView()->list();
    QCOMPARE(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->topLevelItem(1));
    QTest::keyClick(list, Qt::Key_Return);
    gui::FFEditorWindow* editor = window.ffEditorIfMade();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(editor->box(3)->toPlainText(), QString("b/2"));
    QCOMPARE(editor->textLabel(2)->text(), QString("Soft Two"));
    QCOMPARE(editor->nameLabel(1)->text(), QString("Depth"));
    list->setCurrentItem(list->topLevelItem(0));
    window.menus().action("mnuOpenInFFE")->trigger();
    QCOMPARE(editor->textLabel(2)->text(), QString("One"));
    // A decompiler's text: its own labels as names leave the maps off and the sliders named.
    const std::string info =
        "Filter Factory Plugin Information:\nFILENAME: C:\\x\\dcomp.8bf\nCATEGORY:\nTests\n"
        "TITLE:\nDecompiled\nCOPYRIGHT:\n\nAUTHOR:\n\nMap 0: [Map 0:]\nMap 1: [Map 1:]\n"
        "Map 2: [Map 2:]\nMap 3: [Map 3:]\nControl 0: [Spin]\nControl 1: [Control 1:]\n"
        "Control 2: []\nControl 3: []\nControl 4: []\nControl 5: []\nControl 6: []\n"
        "Control 7: []\nR=\nr\nG=\ng\nB=\nb\nA=\na\n\n";
    QVERIFY(window.openInFFEditor(test::writeFile(folder / "dcomp.txt", info)));
    for (int m = 0; m < 4; ++m) QVERIFY(!editor->mapBox(m)->isChecked());
    QCOMPARE(editor->nameLabel(0)->text(), QString("Spin"));
    QCOMPARE(editor->nameLabel(1)->text(), QString());
    started.close();
  }

  // Picking a function: the channel letter goes, the placeholders do not parse, Tab walks them.
  void insertedFunctionReplacesTheLetterAndSelectsItsFirstArgument() {
    EditorRig rig({"r", "g", "b", "a"});
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    rig.window->box(1)->setFocus();
    QMenu menu;
    rig.window->fillEditorMenu(&menu);
    QAction* mix = nullptr;
    for (QAction* a : menu.findChild<QMenu*>("mnuFunc")->actions())
      if (a->text() == "mix(a,b,n,d)") mix = a;
    QVERIFY(mix && mix->toolTip() == "a and b mixed: a*n/d + b*(d-n)/d");
    mix->trigger();
    gui::FormulaEdit* box = rig.window->box(1);
    QCOMPARE(box->toPlainText(), QString::fromUtf8("mix(\u2039a\u203a,\u2039b\u203a,\u2039n\u203a,"
                                                   "\u2039d\u203a)"));
    QCOMPARE(box->textCursor().selectedText(), QString::fromUtf8("\u2039a\u203a"));
    QCOMPARE(rig.window->windowTitle(), QString("R= column 5: argument 'a' not filled in"));
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(box->textCursor().selectedText(), QString::fromUtf8("\u2039b\u203a"));
    QVERIFY(box->hasFocus());
    // Typing over the placeholders makes the formula whole.
    box->setPlainText("r+");
    box->moveCursor(QTextCursor::End);
    mix->trigger();
    QCOMPARE(box->toPlainText().left(6), QString("r+mix("));
  }

  // The code editor: undo by words, completion, every error listed and walked, find/replace.
  void formulaBoxesEditLikeACodeEditor() {
    EditorRig rig({"r", "g", "b", "a"});
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    gui::FormulaEdit* red = rig.window->box(1);
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, "r+g");
    red->undo();
    QCOMPARE(red->toPlainText(), QString("r+"));

    red->setPlainText("r+");
    red->moveCursor(QTextCursor::End);
    QTest::keyClicks(red, "mi");
    QAbstractItemView* popup = red->completer()->popup();
    QVERIFY(popup->isVisible());
    QCOMPARE(test::rowTexts(popup->model()),
             (QStringList{"min(a,b)    the smaller of a and b",
                          "mix(a,b,n,d)    a and b mixed: a*n/d + b*(d-n)/d"}));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    QCOMPARE(red->toPlainText().left(6), QString("r+mix("));

    rig.window->box(1)->setPlainText("foo+src(x,y)");
    rig.window->box(2)->setPlainText("g+,(b*)");  // two mistakes of shape in one box
    rig.window->box(3)->setPlainText("b)");
    const QStringList listed = test::rowTexts(rig.window->formulaTools()->errorList()->model());
    QCOMPARE(listed,
             (QStringList{"R  column 1: unknown name 'foo'", "R  column 5: 'src' takes 3 arguments",
                          "G  column 3: expected a value", "G  column 7: expected a value",
                          "B  column 2: unmatched ')'"}));
    red->setFocus();
    red->moveCursor(QTextCursor::Start);
    // F8 from the start of R: after the caret, through G and B, round to the first.
    const std::pair<const char*, int> walk[] = {
        {"src", 1}, {",", 2}, {")", 2}, {")", 3}, {"foo", 1}};
    for (const auto& [want, boxIndex] : walk) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
      auto* box = qobject_cast<gui::FormulaEdit*>(QApplication::focusWidget());
      QCOMPARE(box, rig.window->box(boxIndex));
      QCOMPARE(box->textCursor().selectedText(), QString(want));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(rig.window->box(3)->textCursor().selectedText(), QString(")"));

    rig.window->box(1)->setPlainText("src(x,y,0)+x");
    rig.window->box(2)->setPlainText("max(x,X)");
    rig.window->box(3)->setPlainText("b");
    gui::FindBar* find = rig.window->formulaTools()->findBar();
    find->findField()->setText("x");
    find->wholeNameBox()->setChecked(true);
    find->matchCaseBox()->setChecked(true);
    red->setFocus();
    red->moveCursor(QTextCursor::Start);
    QVERIFY(find->findNext(true));
    QCOMPARE(red->textCursor().selectionStart(), 4);
    QCOMPARE(find->statusLabel()->text(), QString("3 matches"));
    find->replaceField()->setText("y");
    QCOMPARE(find->replaceAll(), 3);
    QCOMPARE(red->toPlainText(), QString("src(y,y,0)+y"));
    QCOMPARE(rig.window->box(2)->toPlainText(), QString("max(y,X)"));
    rig.window->box(2)->undo();  // one step per box
    QCOMPARE(rig.window->box(2)->toPlainText(), QString("max(x,X)"));
    find->findField()->setText("nothing");
    QVERIFY(!find->findNext(true));
    QCOMPARE(find->statusLabel()->text(), QString("Not found"));
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

  // The resizable design: the preview grows with the window and is drawn at its pixels, the
  // sliders keep their room, and a fixed design afterwards gets every control back.
  void modernDesignFollowsTheWindowSize() {
    EditorRig rig({"r", "g", "b", "a"});
    rig.useShippedDesign("Modern.des");
    gui::FFEditorWindow& w = *rig.window;
    QVERIFY(w.modernLayout());
    QVERIFY(!(w.windowFlags() & Qt::FramelessWindowHint) && w.mask().isEmpty());
    w.show();
    QSize previous;
    for (QSize size : {QSize(760, 540), QSize(1400, 900)}) {
      w.resize(size);
      QTRY_COMPARE(w.size(), size);
      w.finishPreview();
      QApplication::processEvents();
      w.finishPreview();
      const QRect box = w.previewBox()->contentsRect();
      const QSize shown = w.previewBox()->pixmap().deviceIndependentSize().toSize();
      // The picture fills the box on one side, aspect kept.
      QVERIFY2(shown.width() == box.width() || shown.height() == box.height(),
               qPrintable(QString("%1x%2 in %3x%4")
                              .arg(shown.width())
                              .arg(shown.height())
                              .arg(box.width())
                              .arg(box.height())));
      QVERIFY(box.width() > previous.width() && box.height() > previous.height());
      previous = box.size();
      for (int k = 0; k < 8; ++k) {
        QVERIFY(w.slider(k)->isVisible() && w.slider(k)->width() >= 90);
        QVERIFY(!w.slider(k)->geometry().intersects(w.valueBox(k)->geometry()));
      }
      for (int b = 0; b < 4; ++b) QVERIFY(w.box(b)->isVisible() && w.box(b)->height() >= 40);
      const QPushButton* erase = w.deleteSpotButton();
      QVERIFY(erase->width() > erase->fontMetrics().horizontalAdvance(erase->text()));
    }
    w.setOneBoxMode(true);
    QVERIFY(w.box(2)->isHidden());
    QTRY_VERIFY(w.box(1)->height() > 2 * w.box(0)->height());
    w.setOneBoxMode(false);
    w.applyDesign("Plain.des");
    QVERIFY(!w.modernLayout());
    QCOMPARE(w.size(), QSize(780, 540));
    QCOMPARE(w.slider(0)->parentWidget(), &w);
    QVERIFY(w.slider(0)->isVisible() && w.box(2)->isVisible());
    QCOMPARE(w.previewBox()->size(), QSize(258, 178));
  }

  // Every design: Tab reaches each text, slider name, slider, value and box; F2 or Enter edits
  // a label in place, Enter keeps the text, Escape drops it, Tab keeps it and moves on; F2 in a
  // slider row renames that slider.
  void everyControlAnswersTheKeyboardInEveryDesign() {
    EditorRig rig({"r", "g", "b", "a"});
    for (const auto& entry : fs::directory_iterator(fs::path(QM_DATA_DIR) / "interface"))
      fs::copy_file(entry.path(), rig.programDir / "interface" / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
    gui::FFEditorWindow& w = *rig.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(QApplication::focusWidget(), w.box(1));  // the caret starts in R
    for (const char* design : {"Interfc4.des", "Interfc5.des", "Plain.des", "Modern.des"}) {
      w.applyDesign(design);
      // A resizable design makes the window anew; the offscreen platform keeps its focus window
      // through that and so never tells the application that the window is active again.
      QApplication::processEvents();
      if (!w.isActiveWindow()) QApplication::setActiveWindow(&w);
      QTRY_VERIFY2(w.isActiveWindow(), design);
      std::set<QWidget*> reached;
      w.textLabel(0)->setFocus();
      for (int k = 0; k < 100; ++k) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      auto reachedAll = [&](auto widgetOf, int n) {
        for (int k = 0; k < n; ++k)
          if (!reached.count(widgetOf(k))) return false;
        return true;
      };
      QVERIFY2(reachedAll([&](int k) { return w.textLabel(k); }, 5), design);
      QVERIFY2(reachedAll([&](int k) { return w.nameLabel(k); }, 8), design);
      QVERIFY2(reachedAll([&](int k) { return w.valueBox(k); }, 8), design);
      auto sliderOf = [&](int k) -> QWidget* {
        return w.slider(k)->isVisible() ? static_cast<QWidget*>(w.slider(k)) : w.graphicSlider(k);
      };
      QVERIFY2(reachedAll(sliderOf, 8), design);
      QVERIFY2(reachedAll([&](int b) { return w.box(b); }, 4), design);
      QVERIFY2(reached.count(w.saveFormatBox()) && reached.count(w.spotButton(9)), design);

      gui::EditableLabel* title = w.textLabel(2);
      const QString before = title->text();
      title->setFocus();
      QTest::keyClick(title, Qt::Key_F2);
      QVERIFY2(title->editor() && title->editor()->isVisible(), design);
      QCOMPARE(QApplication::focusWidget(), title->editor());
      QTest::keyClicks(title->editor(), "dropped");
      QTest::keyClick(title->editor(), Qt::Key_Escape);
      QCOMPARE(title->text(), before);
      QCOMPARE(QApplication::focusWidget(), title);
      QTest::keyClick(title, Qt::Key_Return);
      QTest::keyClicks(title->editor(), QString("Keyed ") + design);
      QTest::keyClick(title->editor(), Qt::Key_Return);
      QCOMPARE(title->text(), QString("Keyed ") + design);
      QVERIFY(!title->editor()->isVisible());
      QCOMPARE(QApplication::focusWidget(), title);

      w.valueBox(3)->setFocus();
      QTest::keyClick(w.valueBox(3), Qt::Key_F2);
      QLineEdit* name = w.nameLabel(3)->editor();
      QVERIFY2(name && name->isVisible(), design);
      QTest::keyClicks(name, QString("Depth ") + design);
      QTest::keyClick(name, Qt::Key_Tab);
      QCOMPARE(w.nameLabel(3)->text(), QString("Depth ") + design);
      QCOMPARE(w.gatheredRecord().controlNames[3], std::string("Depth ") + design);
      QCOMPARE(QApplication::focusWidget(), sliderOf(3));

      if (!w.modernLayout()) continue;
      // The bar between preview and formulas.
      const QList<int> split = w.modernLayout()->splitter()->sizes();
      QTest::keyClick(sliderOf(3), Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
      QVERIFY(w.modernLayout()->splitter()->sizes()[0] < split[0]);
      QTest::keyClick(sliderOf(3), Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
      QTest::keyClick(sliderOf(3), Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
      QVERIFY(w.modernLayout()->splitter()->sizes()[0] > split[0]);
    }
  }

  // The narrow resizable design elides a long slider name in the middle and shows it whole in
  // the tooltip; a name that fits is shown as it is.
  void longSliderNamesAreElidedNotCut() {
    EditorRig rig({"ctl(0)", "g", "b", "a"});
    rig.useShippedDesign("Modern.des");
    gui::FFEditorWindow& w = *rig.window;
    w.show();
    const QString longName = "Amount of warm light spilling over the deepest shadows";
    ff::FFRecord rec = w.gatheredRecord();
    rec.controlNames[0] = longName.toStdString();
    w.loadRecord(rec);
    for (QSize size : {QSize(720, 520), QSize(1000, 700), QSize(1800, 1000)}) {
      w.resize(size);
      QTRY_COMPARE(w.size(), size);
      QApplication::processEvents();
      const gui::EditableLabel* label = w.nameLabel(0);
      const QString shown = label->shownText();
      QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
      QCOMPARE(label->text(), longName);
      if (size.width() == 720) QVERIFY(shown != longName);
      if (shown != longName) {
        QVERIFY2(shown.startsWith("Amo") && shown.endsWith("ows") && shown.contains(QChar(0x2026)),
                 qPrintable(shown));
        QVERIFY(label->tipText().startsWith(longName + "\n"));
      }
      QCOMPARE(w.nameLabel(1)->shownText(), QString("Spread"));
      QCOMPARE(w.nameLabel(1)->tipText(), w.nameLabel(1)->toolTip());
    }
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

  void openRevertSaveRoundTrip() {
    test::TempFolder dir;
    const fs::path file = dir / "pic.png";
    const QImage original = gradient(64, 48);
    QVERIFY(original.save(QString::fromStdString(file.string())));
    test::ScriptedPrompter prompter;
    gui::PictureEditor editor(dir / "prog");
    editor.setPrompter(&prompter);
    QVERIFY(editor.openFile(file));
    QCOMPARE(editor.windowTitle(),
             QString("Picture Editor - pic.png - 64x48 (100%), 16 Milion Colors (24bit)"));
    QCOMPARE(editor.image().convertToFormat(QImage::Format_RGB888), original);
    // A change, then revert: Cancel keeps it, OK reads the file again.
    editor.raiseColorDepth(8);  // only a raise is offered: nothing happens
    QVERIFY(!editor.changed());
    QGuiApplication::clipboard()->setImage(gradient(10, 10));
    editor.paste();
    QVERIFY(editor.changed());
    QCOMPARE(editor.image().size(), QSize(10, 10));
    QVERIFY(editor.path().empty());
    QVERIFY(editor.openFile(file));
    prompter.askAnswers = {Button::Cancel, Button::Ok};
    editor.setZoom(200);
    editor.revert();
    editor.revert();
    QCOMPARE(prompter.messages.size(), std::size_t(2));
    QCOMPARE(prompter.messages[0].text, std::string("Revert the image back to its saved state?"));
    QCOMPARE(prompter.messages[0].title, std::string("Revert"));
    QCOMPARE(prompter.messages[0].buttons, Buttons::OkCancel);
    QCOMPARE(editor.zoom(), 200);
    // Save As starts on the picture's own type; a name without extension gets the chosen
    // type's, and the picture is written in that format and becomes its file.
    const fs::path copy = dir / "copy.jpg";
    QString startedOn;
    editor.hooks().chooseSaveFile = [&](const QString&, QString& type) {
      startedOn = type;
      type = "JPG (*.jpg)";
      return QString::fromStdString((dir / "copy").string());
    };
    editor.hooks().jpegQuality = [] { return 20; };
    QVERIFY(editor.saveAs());
    QCOMPARE(startedOn, QString("PNG (*.png)"));
    QCOMPARE(editor.path(), copy);
    QVERIFY(!fs::exists(dir / "copy.png"));
    QVERIFY(editor.windowTitle().contains("copy.jpg - 64x48 (200%)"));
    QCOMPARE(QImageReader(QString::fromStdString(copy.string())).format(), QByteArray("jpeg"));
    QCOMPARE(QImage(QString::fromStdString(copy.string())).size(), original.size());
    // At the Preferences' quality; Save writes an unchanged picture no second time.
    const auto atTwenty =
        platform::encodePicture(editor.image(), copy, platform::EncodeOptions{20, -1, {}});
    QVERIFY(atTwenty);
    QCOMPARE(test::readFile(copy), std::string(atTwenty->begin(), atTwenty->end()));
    fs::remove(copy);
    QVERIFY(editor.save());
    QVERIFY(!fs::exists(copy));
    // A failed write says so and keeps picture, file and title.
    fs::create_directory(dir / "locked");
    QVERIFY(!editor.saveTo(dir / "locked" / "no-such-dir" / "x.png"));
    QCOMPARE(prompter.messages.back().kind, test::MessageKind::Error);
    QVERIFY(QString::fromStdString(prompter.messages.back().text)
                .startsWith("The picture could not be saved as "));
    QCOMPARE(editor.path(), copy);
    QVERIFY(!editor.saveTo(dir / "x.unknownformat"));
    QCOMPARE(editor.path(), copy);
  }

  // Pictures are read off the window's thread: progress runs up to 100 %, Stop ends the read,
  // a damaged file or one that is no picture says why, and the Picture Editor opens through it.
  void picturesAreReadOnAWorkerWithProgress() {
    test::TempFolder dir;
    const fs::path big = dir / "big.png";
    QImage noise = gradient(900, 600);
    for (int y = 0; y < noise.height(); ++y)  // a file of some size, read in many parts
      for (int x = 0; x < noise.width(); x += 3)
        noise.setPixelColor(x, y, QColor((x * y) & 255, 0, 0));
    QVERIFY(noise.save(QString::fromStdString(big.string())));
    std::vector<int> seen;
    gui::PictureLoadOptions options;
    options.progress = [&](int percent) { seen.push_back(percent); };
    options.largest = QSize(300, 300);
    gui::LoadedPicture loaded = gui::decodePicture(big, options);
    QCOMPARE(loaded.image.size(), QSize(300, 200));
    QVERIFY(seen.size() > 1 && std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(seen.back(), 100);
    options.stop = [] { return true; };
    loaded = gui::decodePicture(big, options);
    QVERIFY(loaded.stopped && loaded.image.isNull() && loaded.error.isEmpty());

    const std::string bytes = test::readFile(big);
    const fs::path cut = test::writeFile(dir / "cut.png", bytes.substr(0, bytes.size() / 2));
    loaded = gui::loadPicture(nullptr, cut, "Reading");
    QVERIFY(loaded.image.isNull() && !loaded.stopped);
    const std::string refusal = gui::previewPictureRefusal(cut, loaded.error);
    QVERIFY2(refusal.starts_with("The picture " + cut.string() +
                                 " cannot be the preview picture: the picture is damaged ("),
             refusal.c_str());
    loaded = gui::loadPicture(nullptr, test::writeFile(dir / "notes.png", "hello"), "Reading");
    QCOMPARE(loaded.error, QString("it is not a picture this program can read"));

    gui::PictureEditor editor(dir / "prog");
    QVERIFY(editor.openFile(big));
    QCOMPARE(editor.image().size(), QSize(900, 600));
  }

  // An untitled picture: an empty clipboard pastes nothing, Save asks for a file, a refused
  // factor changes nothing, and Use as Preview Image needs the program folder.
  void untitledPicture() {
    test::TempFolder dir;
    test::ScriptedPrompter prompter;
    gui::PictureEditor editor(dir / "prog");
    editor.setPrompter(&prompter);
    QGuiApplication::clipboard()->clear();
    editor.paste();
    QVERIFY(editor.image().isNull());
    QCOMPARE(editor.windowTitle(), QString("Picture Editor"));
    editor.updateActions();
    QVERIFY(!editor.action("mnuCopy")->isEnabled() && !editor.action("mnuSave")->isEnabled());
    editor.showImage(gradient(20, 10), "x");
    editor.paste();
    QCOMPARE(editor.image().size(), QSize(20, 10));
    QVERIFY(editor.action("mnuCopy")->isEnabled());
    int asked = 0;
    editor.hooks().chooseSaveFile = [&](const QString&, QString&) { return ++asked, QString(); };
    QVERIFY(!editor.save());
    QCOMPARE(asked, 1);

    QStringList typed{"900", "250"};  // which factors are refused is the core's test
    editor.hooks().askZoomFactor = [&]() -> std::optional<QString> { return typed.takeFirst(); };
    for (int expected : {100, 250}) {
      editor.enterZoomFactor();
      QCOMPARE(editor.zoom(), expected);
    }
    QCOMPARE(editor.findChild<QWidget*>("Picture1")->size(), QSize(50, 25));

    fs::path chosen;
    editor.hooks().previewImageChosen = [&](const fs::path& file) { chosen = file; };
    editor.useAsPreviewImage();  // the program folder does not exist
    QCOMPARE(prompter.messages.size(), std::size_t(1));
    QCOMPARE(prompter.messages[0].text, std::string("Sorry, a problem occured."));
    QVERIFY(chosen.empty());
    fs::create_directory(dir / "prog");
    editor.useAsPreviewImage();
    QCOMPARE(chosen, dir / "prog" / "PictureEditor.bmp");
    QCOMPARE(QImage(QString::fromStdString(chosen.string())).size(), QSize(20, 10));
  }

  // Where the picture goes is the core's test; here that it is drawn there, at 96 dpi.
  void printsTheImageOnAPdfPage() {
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) QSKIP("pdftoppm (poppler-utils) is not installed");
    test::TempFolder dir;
    gui::PictureEditor editor(dir.path());
    QImage red(96, 48, QImage::Format_RGB888);
    red.fill(Qt::red);
    editor.showImage(red, "red");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "out.pdf").string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QVERIFY(editor.printTo(printer, picture::PrintMode::ActualSize));
    QProcess render;
    render.start(pdftoppm, {"-png", "-r", "50", "-singlefile",
                            QString::fromStdString((dir / "out.pdf").string()),
                            QString::fromStdString((dir / "page").string())});
    QVERIFY(render.waitForFinished(60000));
    const QImage page(QString::fromStdString((dir / "page.png").string()));
    QVERIFY(!page.isNull());
    // The red run along the top row starts at the left edge and is one inch of A4's 8.27.
    int run = 0;
    while (run < page.width() && page.pixelColor(run, 2).red() > 200 &&
           page.pixelColor(run, 2).green() < 60)
      ++run;
    QVERIFY2(std::abs(run - page.width() / 8.27) <= 3,
             qPrintable(QString("red run %1 of %2").arg(run).arg(page.width())));
  }

  void hostDialogShowsNamedSlidersAndReturnsTheirValues() {
    ff::FFRecord record;
    record.title = "Caf\xE9";
    record.controlNames[0] = "Amount";
    record.mapNames[1] = "Range";  // sliders 2 and 3
    record.sliderValues = {10, 0, 20, 30, 0, 0, 0, 0};
    record.formulas = {"ctl(0)", "g", "b", "a"};
    gui::FFHostDialog dialog(record, gradient(40, 30), true);
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Caf\xC3\xA9"));
    QVERIFY(dialog.slider(0) && dialog.slider(2) && dialog.slider(3));
    QVERIFY(!dialog.slider(1) && !dialog.slider(4));
    dialog.slider(0)->setValue(200);
    QCOMPARE(dialog.previewLabel()->pixmap().toImage().pixelColor(1, 1).red(), 200);
    dialog.formulaBox(0)->setPlainText("foo(");
    QVERIFY(!dialog.errorLabel()->text().isEmpty());
    QCOMPARE(dialog.previewLabel()->pixmap().toImage().pixelColor(1, 1).red(), 200);
    dialog.formulaBox(0)->setPlainText("255-ctl(2)");
    QVERIFY(dialog.errorLabel()->text().isEmpty());
    const auto result = dialog.result();
    QCOMPARE(int(result.sliders[0]), 200);
    QCOMPARE(int(result.sliders[2]), 20);
    QCOMPARE(result.formulas[0], std::string("255-ctl(2)"));
    QCOMPARE(dialog.previewLabel()->pixmap().toImage().pixelColor(1, 1).red(), 235);
  }

  void previewPanelFillsFromTheCacheOnASecondSelection() {
    test::StartedWindow w;
    const fs::path plugins = w.programDir / "plugins";
    test::FFPluginFields fields;
    fields.title = "Half";
    fields.category = "Tests";
    fields.formulas = {"r/2", "g", "b", "a"};
    test::writeFile(plugins / "Half.8bf", test::ffPluginBytes(57344, fields));
    test::writeFile(plugins / "notes.doc", "text");
    QVERIFY(gradient(200, 100).save(QString::fromStdString((w.programDir / "Test.bmp").string())));
    w.start(plugins);
    gui::MainWindow& window = *w.window;
    window.menus().action("mnuPluginPreview")->setChecked(true);
    gui::PreviewPanel* panel = window.previewPanel();
    QVERIFY(panel->isVisibleTo(&window));
    gui::FileView* files = window.active()->fileView();
    QVERIFY(files->selectName("Half.8bf"));
    const fs::path cache = host::previewCacheFile(w.programDir.path(), plugins / "Half.8bf");
    QTRY_COMPARE(panel->lastKind(), std::optional(picture::PreviewKind::Filtered));
    const QSize box(host::previewBoxPixels().width, 64);
    QCOMPARE(panel->pictureLabel()->pixmap().size(), box);
    QVERIFY(fs::exists(cache));
    QVERIFY(files->selectName("notes.doc"));
    QTRY_VERIFY(!panel->lastKind());
    QVERIFY(files->selectName("Half.8bf"));
    QTRY_COMPARE(panel->lastKind(), std::optional(picture::PreviewKind::FromCache));
    QCOMPARE(panel->pictureLabel()->pixmap().size(), box);
    // "Update" drops the entry: the next preview is made again.
    window.menus().action("mnuUpdateCache")->trigger();
    QTRY_COMPARE(panel->lastKind(), std::optional(picture::PreviewKind::Filtered));
    w.close();
  }
};

QTEST_MAIN(EditorsTest)
#include "editors_test.moc"
