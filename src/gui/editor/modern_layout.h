#pragma once
// The resizable editor: the controls of the editor window in layouts that follow the window's
// size, with a splitter between the preview (and its sliders) and the formula boxes. Made
// when a resizable design is applied; destroying it hands every control back to the window
// for the fixed designs, which place them by hand.

#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

class QGridLayout;
class QSplitter;

namespace qm::gui {

// The editor's controls, in the groups the layout arranges.
struct EditorParts {
  std::array<QWidget*, 5> texts{};
  std::array<QWidget*, 4> boxes{};  // A, R, G, B
  std::array<QWidget*, 4> boxLabels{};
  std::array<QWidget*, 8> names{};
  std::array<QWidget*, 8> sliders{};
  std::array<QWidget*, 8> values{};
  std::array<QWidget*, 4> maps{};
  QWidget* preview = nullptr;
  std::vector<QWidget*> insertTools;  // function and snippet lists
  std::vector<QWidget*> saveTools;    // save format, save button, auto preview, box mode, fonts
  std::vector<QWidget*> spots;        // the memory spots and their delete button
  std::vector<QWidget*> windowTools;  // minimize, hide, unload
};

class ModernLayout {
 public:
  ModernLayout(QWidget& window, const EditorParts& parts);
  ~ModernLayout();
  ModernLayout(const ModernLayout&) = delete;
  ModernLayout& operator=(const ModernLayout&) = delete;

  // One box for the colour channels ("C=" over three rows' room) or three, as the window's
  // box mode says; the alpha box always shows.
  void showCodeBoxes(bool oneBox);
  QSplitter* splitter() const { return splitter_; }

 private:
  void adopt(QWidget* part, QWidget* container);

  QWidget& window_;
  EditorParts parts_;
  QPointer<QWidget> body_;  // holds every container; deleting it frees them all
  QSplitter* splitter_ = nullptr;
  QGridLayout* codeGrid_ = nullptr;
  std::vector<QWidget*> adopted_;
};

}  // namespace qm::gui
