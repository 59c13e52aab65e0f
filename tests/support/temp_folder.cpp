#include "temp_folder.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace qm::test {

TempFolder::TempFolder() {
  // mkdtemp picks a unique name even when several test programs run at once.
  std::string pattern = (std::filesystem::temp_directory_path() / "qm-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::filesystem::path writeFile(const std::filesystem::path& file, std::string_view bytes) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> filesBelow(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec))
    if (std::filesystem::is_regular_file(it->symlink_status(ec)))
      files[std::filesystem::relative(it->path(), folder).generic_string()] = readFile(it->path());
  return files;
}

}  // namespace qm::test
