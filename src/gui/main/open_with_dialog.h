#pragma once
// Open With: the installed applications for a file that has no program of its own, those that
// declare its type first, then all the others.

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <optional>
#include <vector>

#include "platform/desktop_apps.h"

namespace qm::gui {

class OpenWithDialog : public QDialog {
  Q_OBJECT
 public:
  OpenWithDialog(const QString& fileName, const std::vector<platform::DesktopApp>& forType,
                 const std::vector<platform::DesktopApp>& others, QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  // The line above the list: why the chooser shows (no program for the type, no opener).
  QLabel* note() const { return note_; }
  // The chosen application after exec() returned Accepted.
  std::optional<platform::DesktopApp> chosen() const;

 private:
  QListWidget* list_;
  QLabel* note_ = nullptr;
  std::vector<platform::DesktopApp> apps_;  // in list order, headings left out
};

}  // namespace qm::gui
