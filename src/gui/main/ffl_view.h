#pragma once
// The FFL View: the entries of one Filter Factory library with category, filter name, author
// and the byte position of each entry (what the commands need to read an entry again).

#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace qm::gui {

class FflView : public QWidget {
  Q_OBJECT
 public:
  explicit FflView(QWidget* parent = nullptr);

  // Reads and lists the library; false (and an empty list) when it is not one.
  bool showLibrary(const std::filesystem::path& library);
  // Forgets the library, so the next showLibrary reads it again.
  void forget();
  const std::filesystem::path& library() const { return library_; }

  QTreeWidget* list() const { return list_; }
  QToolButton* openButton() const { return open_; }
  QLabel* statusLabel() const { return status_; }
  // Byte positions of the selected entries, in list order.
  std::vector<std::uint64_t> selectedPositions() const;
  void removeEntries(const std::vector<std::uint64_t>& positions);
  void selectAll();
  void toggleSelection();

 signals:
  void openWanted();
  // Double click or Enter on an entry.
  void entryActivated();

 private:
  std::filesystem::path library_;
  QTreeWidget* list_;
  QToolButton* open_;
  QLabel* status_;
};

}  // namespace qm::gui
