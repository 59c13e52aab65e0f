#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// test ends.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace qm::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes bytes to file (creating its folder); returns the path.
std::filesystem::path writeFile(const std::filesystem::path& file, std::string_view bytes);
// The whole file as bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);
// Every regular file below folder (links not followed) by relative path, with its bytes: a
// before-and-after picture that shows any write.
std::map<std::string, std::string> filesBelow(const std::filesystem::path& folder);

}  // namespace qm::test
