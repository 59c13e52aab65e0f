// The Picture Editor (open, revert, save, paste, zoom, print to PDF), the host's Filter Factory
// dialog and the main window's preview panel filling from its cache.

#include <QClipboard>
#include <QImageReader>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include "core/host/preview_picture.h"
#include "gui/gui_fixture.h"
#include "gui/host_dialog/ff_host_dialog.h"
#include "gui/main/file_view.h"
#include "gui/main/preview_feed.h"
#include "gui/main/preview_panel.h"
#include "gui/picture/picture_editor.h"
#include "support/ff_plugin_bytes.h"
#include "support/scripted_ports.h"

using namespace qm;
namespace fs = std::filesystem;

namespace {

// Colour depends on the position, so a wrong or shifted pixel shows.
QImage gradient(int w, int h) {
  QImage image(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixelColor(x, y, QColor(x * 255 / w, y * 255 / h, 60));
  return image;
}

// Largest channel difference between two pictures of one size; 255 when the sizes differ.
int difference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 255;
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      worst = std::max({worst, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                        std::abs(p.blue() - q.blue())});
    }
  return worst;
}

}  // namespace

class PictureTest : public QObject {
  Q_OBJECT
 private slots:
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
    QCOMPARE(difference(editor.image(), original), 0);

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

    // Save As writes the picture in the named format and becomes its file.
    const fs::path copy = dir / "copy.jpg";
    editor.hooks().chooseSaveFile = [&](const QString&) {
      return QString::fromStdString(copy.string());
    };
    QVERIFY(editor.saveAs());
    QCOMPARE(editor.path(), copy);
    QVERIFY(editor.windowTitle().contains("copy.jpg - 64x48 (200%)"));
    QCOMPARE(QImageReader(QString::fromStdString(copy.string())).format(), QByteArray("jpeg"));
    QVERIFY(difference(QImage(QString::fromStdString(copy.string())), original) <= 40);

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

  void pasteWithAnEmptyClipboardChangesNothingAndUntitledSaveAsks() {
    test::TempFolder dir;
    gui::PictureEditor editor(dir.path());
    QGuiApplication::clipboard()->clear();
    editor.paste();
    QVERIFY(editor.image().isNull());
    QCOMPARE(editor.windowTitle(), QString("Picture Editor"));
    editor.updateActions();
    QVERIFY(!editor.action("mnuCopy")->isEnabled());
    QVERIFY(!editor.action("mnuSave")->isEnabled());
    editor.showImage(gradient(5, 5), "x");
    QGuiApplication::clipboard()->clear();
    editor.paste();
    QCOMPARE(editor.image().size(), QSize(5, 5));
    QVERIFY(editor.action("mnuCopy")->isEnabled());
    int asked = 0;  // an untitled picture saves through the chooser; cancelled here
    editor.hooks().chooseSaveFile = [&](const QString&) { return ++asked, QString(); };
    QVERIFY(!editor.save());
    QCOMPARE(asked, 1);
  }

  // Which factors are refused is the core's test; here a refused one changes nothing.
  void enterFactorZoomsThePicture() {
    test::TempFolder dir;
    gui::PictureEditor editor(dir.path());
    editor.showImage(gradient(20, 10), "z");
    QStringList typed{"900", "250"};
    editor.hooks().askZoomFactor = [&]() -> std::optional<QString> { return typed.takeFirst(); };
    for (int expected : {100, 250}) {
      editor.enterZoomFactor();
      QCOMPARE(editor.zoom(), expected);
    }
    QCOMPARE(editor.findChild<QWidget*>("Picture1")->size(), QSize(50, 25));
  }

  void useAsPreviewImageWritesTheBmpOrSaysSorry() {
    test::TempFolder dir;
    test::ScriptedPrompter prompter;
    gui::PictureEditor editor(dir / "prog");
    editor.setPrompter(&prompter);
    fs::path chosen;
    editor.hooks().previewImageChosen = [&](const fs::path& file) { chosen = file; };
    editor.showImage(gradient(16, 8), "p");
    editor.useAsPreviewImage();  // the program folder does not exist
    QCOMPARE(prompter.messages.size(), std::size_t(1));
    QCOMPARE(prompter.messages[0].text, std::string("Sorry, a problem occured."));
    QVERIFY(chosen.empty());
    fs::create_directory(dir / "prog");
    editor.useAsPreviewImage();
    QCOMPARE(chosen, dir / "prog" / "PictureEditor.bmp");
    QCOMPARE(QImage(QString::fromStdString(chosen.string())).size(), QSize(16, 8));
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
    const fs::path cache = w.programDir / "cache" / "Half.jpg";

    QVERIFY(files->selectName("Half.8bf"));
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

QTEST_MAIN(PictureTest)
#include "picture_test.moc"
