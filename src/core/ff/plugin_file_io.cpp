#include "core/ff/plugin_file_io.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

#include "core/common/cp1252.h"

namespace qm::ff {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

Outcome<std::vector<std::uint8_t>, std::string> readFileBytes(const std::filesystem::path& file,
                                                              std::uint64_t limit,
                                                              std::string_view tooLargeText) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const auto status = fs::status(file, ec);
  if (ec) return Failure{ec.message()};
  if (fs::is_directory(status))
    return Failure{std::string(std::make_error_code(std::errc::is_a_directory).message())};
  // A pipe or device could block or never end.
  if (!fs::is_regular_file(status)) return Failure{std::string("not a regular file")};
  const auto size = fs::file_size(file, ec);
  if (ec) return Failure{ec.message()};
  if (size > limit) return Failure{std::string(tooLargeText)};
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return Failure{std::string(errno != 0 ? std::generic_category().message(errno)
                                          : std::string("cannot be opened"))};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return Failure{std::string("cannot be read")};
  // A file that grew since its size was taken is not followed past the limit.
  if (bytes.size() == size && in.peek() != std::char_traits<char>::eof() && size >= limit)
    return Failure{std::string(tooLargeText)};
  return bytes;
}

std::string replaceFile(const std::filesystem::path& target,
                        const std::vector<std::uint8_t>& bytes) {
  // A random suffix keeps two writers of the same folder off each other's temporary file.
  std::random_device random;
  auto temp = target;
  temp += ".qm" + std::to_string(random() % 1000000) + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (out)
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    if (!out || !out.flush()) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return "Could not write " + temp.filename().string() + " in " +
             target.parent_path().string() + ".";
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return "Could not replace " + target.string() + ": " + ec.message();
  }
  return {};
}

std::string recordFileName(const std::filesystem::path& file) {
  return utf8ToCp1252(file.filename().string());
}

}  // namespace qm::ff
