#pragma once
// The Filter Factory record as quillmark-cli prints it: JSON or readable lines, texts in
// UTF-8.

#include <iosfwd>
#include <nlohmann/json.hpp>

#include "core/ff/record.h"

namespace qm::cli {

nlohmann::json recordToJson(const ff::FFRecord& rec);
void printRecord(const ff::FFRecord& rec, std::ostream& out);

}  // namespace qm::cli
