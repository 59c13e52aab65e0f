#pragma once
// What the GUI tests share: acting on modal dialogs, reading list rows, and a main window
// started as the program starts it, over an in-memory store and a temporary program folder.

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "core/settings/store.h"
#include "gui/main/app_context.h"
#include "gui/main/main_window.h"
#include "gui/main/startup.h"
#include "support/temp_folder.h"

namespace qm::test {

// Runs act on the modal dialog titled title (any, when empty) as soon as it shows; polls,
// because a dialog opens only when the command gets to it.
inline void whenModal(const QString& title, std::function<void(QWidget*)> act,
                      int triesLeft = 500) {
  QTimer::singleShot(10, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || (!title.isEmpty() && modal->windowTitle() != title)) {
      if (triesLeft > 0) whenModal(title, act, triesLeft - 1);
      return;
    }
    act(modal);
  });
}

// Clicks the named button of the next modal dialog titled title, after ticking the named box.
inline void clickWhenModal(const QString& title, const QString& button, const QString& tick = {}) {
  whenModal(title, [=](QWidget* modal) {
    if (!tick.isEmpty()) modal->findChild<QCheckBox*>(tick)->setChecked(true);
    modal->findChild<QPushButton*>(button)->click();
  });
}

// Accepts the next input dialog titled title with answer; keeps the text it offered.
inline void answerWhenModal(const QString& title, const QString& answer,
                            QString* offered = nullptr) {
  whenModal(title, [=](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    if (offered != nullptr) *offered = dialog->textValue();
    dialog->setTextValue(answer);
    dialog->accept();
  });
}

// Types text into the editable combo box Combo1 of dialog and presses Return.
inline void typeIntoCombo(QWidget* dialog, const QString& text) {
  auto* combo = dialog->findChild<QComboBox*>("Combo1");
  combo->setEditText(text);
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
}

// The texts of the first column of a list, combo box or view, top to bottom.
inline QStringList rowTexts(const QAbstractItemModel* model) {
  QStringList texts;
  for (int row = 0; row < model->rowCount(); ++row) texts << model->index(row, 0).data().toString();
  return texts;
}

struct StartedWindow {
  TempFolder programDir;
  settings::MemoryStore store;
  QStringList opened;          // URLs handed to the desktop
  bool desktopAnswers = true;  // false: no program takes them
  gui::AppContext context{programDir.path(),
                          store,
                          {},
                          {},
                          {},
                          [this](const QString& url) {
                            opened << url;
                            return desktopAnswers;
                          },
                          catalogue::CatalogueStore::open(programDir.path() / "catalogue.sqlite")};
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
  QStringList texts;

 private:
  QTimer poll_;
};

}  // namespace qm::test
