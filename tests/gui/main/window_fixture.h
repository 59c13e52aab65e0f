#pragma once
// A main window started the way the program starts it, over an in-memory settings store and
// a temporary program folder.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <optional>

#include "core/settings/store.h"
#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/startup.h"
#include "support/temp_folder.h"

namespace qm::test {

struct StartedWindow {
  TempFolder programDir;
  settings::MemoryStore store;
  QStringList opened;  // URLs handed to the desktop
  gui::AppContext context{programDir.path(), store, {}, {}, {}, [this](const QString& url) {
                            opened << url;
                            return true;
                          }};
  std::unique_ptr<gui::MainWindow> window;
  QStringList questions;  // first-start questions asked
  int tipsShown = 0;

  void start(const std::optional<std::filesystem::path>& argument = std::nullopt,
             std::optional<std::filesystem::path> answer = std::nullopt,
             const std::filesystem::path& firstStartFolder = {}) {
    gui::StartupRequest request;
    request.versionMajor = 1;
    request.versionMinor = 0;
    request.argument = argument;
    request.firstStartFolder = firstStartFolder;
    request.askFolder = [this, answer](const QString& question) {
      questions << question;
      return answer;
    };
    request.showTips = [this] { ++tipsShown; };
    window = gui::startMainWindow(context, request, nullptr);
  }

  void close() {
    window->close();
    window.reset();
  }
};

// Accepts the next message box that opens and returns its text (empty when none opened
// within the wait).
inline QString takeMessageBox(int waitMs = 20000) {
  QString text;
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < waitMs) {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      box->accept();
      break;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return text;
}

}  // namespace qm::test
