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
  QStringList opened;          // URLs handed to the desktop
  bool desktopAnswers = true;  // false: no program takes them
  gui::AppContext context{programDir.path(), store, {}, {}, {}, [this](const QString& url) {
                            opened << url;
                            return desktopAnswers;
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

// Accepts every message box that opens while it lives and keeps their texts. A timer does
// the accepting, as a box runs its own event loop.
class MessageCatcher {
 public:
  MessageCatcher() {
    poll_.setInterval(20);
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts << box->text();
        box->accept();
      }
    });
    poll_.start();
  }
  // Waits until a box was seen (or the time is up).
  QString wait(int waitMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (texts.isEmpty() && clock.elapsed() < waitMs)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    return texts.value(0);
  }
  QStringList texts;

 private:
  QTimer poll_;
};

}  // namespace qm::test
