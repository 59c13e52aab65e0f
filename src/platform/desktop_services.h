#pragma once
// Opening help pages, web addresses, mail and files with the desktop's programs.

#include <QString>
#include <filesystem>
#include <functional>
#include <string_view>

namespace qm::platform {

// What the helpers report instead of opening: the text of the message to show, if any.
using MessageSink = std::function<void(std::string_view text)>;

// Hands a URL to the desktop; false when no program took it (the "no association" case). A
// local file with no program for its type is such a case; one that has a program goes to
// xdg-open, and when that fails later its reason goes to failures. With pageViewer, a local
// HTML page goes there instead when no web browser is installed or xdg-open fails.
using UrlOpener = std::function<bool(const QString& url)>;
using PageViewer = std::function<void(const QString& file)>;
UrlOpener desktopUrlOpener(MessageSink failures = {}, PageViewer pageViewer = {});
// Whether xdg-open (Debian package xdg-utils) is on the search path.
bool desktopOpenerInstalled();
inline constexpr std::string_view kNoDesktopOpener =
    "Files are opened with the desktop's programs through xdg-open, which is not installed "
    "(Debian package xdg-utils).";

// The help, web and mail helpers. Each shows its own "no program" message through sink.
class DesktopServices {
 public:
  DesktopServices(std::filesystem::path programDir, UrlOpener opener, MessageSink sink)
      : programDir_(std::move(programDir)), opener_(std::move(opener)), sink_(std::move(sink)) {}

  void ShowHelp(std::string_view page) const;
  // "Help.htm" directly in the program folder, by the same rule.
  void ShowMainHelp() const;
  void ShowURL(std::string_view address) const;
  void SendEmail(std::string_view address, std::string_view subject, std::string_view body) const;
  // A file of the File View opened with its associated program; false when none is.
  bool openFile(const std::filesystem::path& file) const;

 private:
  bool open(const QString& url) const;

  std::filesystem::path programDir_;
  UrlOpener opener_;
  MessageSink sink_;
};

}  // namespace qm::platform
