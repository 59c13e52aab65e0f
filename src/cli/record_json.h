#pragma once
// The Filter Factory record as quillmark-cli prints it: JSON or readable lines, texts in
// UTF-8.

#include <filesystem>
#include <iosfwd>
#include <nlohmann/json.hpp>

#include "core/ff/record.h"

namespace qm::cli {

// file: where the record was read from, when from a file of its own; a record naming that
// file shows its real name.
nlohmann::json recordToJson(const ff::FFRecord& rec, const std::filesystem::path& file = {});
void printRecord(const ff::FFRecord& rec, std::ostream& out,
                 const std::filesystem::path& file = {});

}  // namespace qm::cli
