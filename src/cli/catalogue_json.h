#pragma once
// Catalogue rows as scan, search and info print them.

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/plugins/catalogue.h"

namespace qm::cli {

// The names of the modes, in list order; [] when nothing is known.
nlohmann::json modesJson(std::optional<std::uint32_t> modes);
// The expression as UTF-8, or null.
nlohmann::json enableInfoJson(const std::optional<std::string>& enableInfo);
// {"path", "category", "title", "categoryPosition", "categoryRoom", "architecture", "modes",
// "enableInfo"}
nlohmann::json rowJson(const plugins::CatalogueRow& row);
nlohmann::json rowsJson(const std::vector<plugins::CatalogueRow>& rows);

// One line per row, category<TAB>title<TAB>path, sorted as the filter list sorts.
void printRowLines(std::ostream& out, const std::vector<plugins::CatalogueRow>& rows);

}  // namespace qm::cli
