#pragma once
// Plugin files for the catalogue and command tests, built in memory.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/pe_builder.h"
#include "support/premiere_records.h"
#include "support/temp_folder.h"

namespace qm::plugins::fixtures {

// Our generated Filter Factory 3.0 template with its PIPL menu fields set: title length at
// 31010, category length at 31062 (36 bytes each).
inline std::string templatePlugin(const std::string& category, const std::string& title) {
  std::string bytes = test::readFile(std::filesystem::path(QM_DATA_DIR) / "photo30.dll");
  if (bytes.size() != 57344) return {};
  auto field = [&](std::size_t at, const std::string& text) {
    bytes.replace(at, 36, std::string(36, '\0'));
    bytes[at] = static_cast<char>(text.size());
    bytes.replace(at + 1, text.size(), text);
  };
  field(31010, title);
  field(31062, category);
  return bytes;
}

using test::piplPlugin;

inline std::string videoFilterPrm(const std::string& name, std::size_t size = 20000) {
  std::string file(size, '\0');
  test::placeAt(file, 5002, test::vfltRecord(name, true));
  return file;
}

}  // namespace qm::plugins::fixtures
