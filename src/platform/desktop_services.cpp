#include "platform/desktop_services.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/shell/help_links.h"

namespace qm::platform {
namespace {

QString fileUrl(const std::filesystem::path& file) {
  return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
}

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

UrlOpener desktopUrlOpener() {
  return [](const QString& url) { return QDesktopServices::openUrl(QUrl(url)); };
}

bool DesktopServices::open(const QString& url) const {
  return opener_ && opener_(url);
}

void DesktopServices::ShowHelp(std::string_view page) const {
  if (!open(fileUrl(shell::helpPagePath(programDir_, page)))) sink_(shell::kNoHtmlViewer);
}

void DesktopServices::ShowMainHelp() const {
  if (!open(fileUrl(programDir_ / "Help.htm"))) sink_(shell::kNoHtmlViewer);
}

void DesktopServices::ShowURL(std::string_view address) const {
  if (!open(qs(address))) sink_(shell::kNoHtmlViewer);
}

void DesktopServices::SendEmail(std::string_view address, std::string_view subject,
                                std::string_view body) const {
  if (!open(qs(shell::mailtoAddress(address, subject, body)))) sink_(shell::kNoEmailProgram);
}

bool DesktopServices::openFile(const std::filesystem::path& file) const {
  return open(fileUrl(file));
}

}  // namespace qm::platform
