#include "cli/record_json.h"

#include <ostream>

#include "core/common/cp1252.h"
#include "core/plugins/text_util.h"

namespace qm::cli {
namespace {

template <std::size_t N>
nlohmann::json texts(const std::array<std::string, N>& values) {
  auto list = nlohmann::json::array();
  for (const auto& v : values) list.push_back(cp1252ToUtf8(v));
  return list;
}

}  // namespace

nlohmann::json recordToJson(const ff::FFRecord& rec, const std::filesystem::path& file) {
  auto values = nlohmann::json::array();
  for (auto v : rec.sliderValues) values.push_back(v);
  return {
      {"fileName", plugins::shownRecordName(rec.fileName, file)},
      {"category", cp1252ToUtf8(rec.category)},
      {"title", plugins::shownRecordName(rec.title, file)},
      {"copyright", cp1252ToUtf8(rec.copyright)},
      {"author", cp1252ToUtf8(rec.author)},
      {"controlNames", texts(rec.controlNames)},
      {"sliderValues", values},
      {"mapNames", texts(rec.mapNames)},
      {"formulas",
       {{"r", cp1252ToUtf8(rec.formulas[0])},
        {"g", cp1252ToUtf8(rec.formulas[1])},
        {"b", cp1252ToUtf8(rec.formulas[2])},
        {"a", cp1252ToUtf8(rec.formulas[3])}}},
      {"photoshopDialect", rec.photoshopDialect},
  };
}

void printRecord(const ff::FFRecord& rec, std::ostream& out, const std::filesystem::path& file) {
  out << "File name: " << plugins::shownRecordName(rec.fileName, file) << '\n'
      << "Category:  " << cp1252ToUtf8(rec.category) << '\n'
      << "Title:     " << plugins::shownRecordName(rec.title, file) << '\n'
      << "Copyright: " << cp1252ToUtf8(rec.copyright) << '\n'
      << "Author:    " << cp1252ToUtf8(rec.author) << '\n';
  for (std::size_t i = 0; i < rec.mapNames.size(); ++i)
    if (!rec.mapNames[i].empty())
      out << "map[" << i << "]: " << cp1252ToUtf8(rec.mapNames[i]) << '\n';
  for (std::size_t i = 0; i < rec.controlNames.size(); ++i)
    out << "ctl[" << i << "]: " << static_cast<int>(rec.sliderValues[i]) << ' '
        << cp1252ToUtf8(rec.controlNames[i]) << '\n';
  static constexpr char kChannels[] = {'R', 'G', 'B', 'A'};
  for (std::size_t i = 0; i < rec.formulas.size(); ++i)
    out << kChannels[i] << ": " << cp1252ToUtf8(rec.formulas[i]) << '\n';
  out << "Dialect:   " << (rec.photoshopDialect ? "Photoshop" : "Premiere") << '\n';
}

}  // namespace qm::cli
