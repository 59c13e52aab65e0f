#include "gui/shell/help_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qm::gui {

void showHelpPage(const QString& file, QWidget* parent) {
  auto* window = new QWidget(parent, Qt::Window);
  window->setObjectName("helpViewer");
  window->setAttribute(Qt::WA_DeleteOnClose);
  auto* browser = new QTextBrowser(window);
  browser->setObjectName("helpPage");
  browser->setSearchPaths({QFileInfo(file).absolutePath()});
  // Pages of the help folder open here; addresses on the web go to whatever the desktop has.
  browser->setOpenLinks(false);
  QObject::connect(browser, &QTextBrowser::anchorClicked, window, [browser](const QUrl& url) {
    if (url.isRelative() || url.isLocalFile())
      browser->setSource(url);
    else
      QDesktopServices::openUrl(url);
  });
  QObject::connect(browser, &QTextBrowser::sourceChanged, window, [window, browser] {
    const QString title = browser->documentTitle();
    window->setWindowTitle(title.isEmpty() ? QString("Help") : "Help - " + title);
  });
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser);
  browser->setSource(QUrl::fromLocalFile(file));
  window->resize(760, 580);
  window->show();
  window->raise();
}

}  // namespace qm::gui
