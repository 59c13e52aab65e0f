#include "core/catalogue/duplicates.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"

namespace qm::catalogue {
namespace {

bool virtualCategory(const std::string& category) {
  return category.size() >= 2 && category.front() == '[' && category.back() == ']';
}

}  // namespace

bool sameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec1, ec2;
  const auto sizeA = std::filesystem::file_size(a, ec1);
  const auto sizeB = std::filesystem::file_size(b, ec2);
  if (ec1 || ec2 || sizeA != sizeB) return false;
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  if (!fa || !fb) return false;
  std::vector<char> bufA(64 * 1024), bufB(64 * 1024);
  while (fa && fb) {
    fa.read(bufA.data(), static_cast<std::streamsize>(bufA.size()));
    fb.read(bufB.data(), static_cast<std::streamsize>(bufB.size()));
    if (fa.gcount() != fb.gcount()) return false;
    if (!std::equal(bufA.begin(), bufA.begin() + fa.gcount(), bufB.begin())) return false;
  }
  return fa.eof() && fb.eof();
}

std::vector<DuplicateGroup> findDuplicates(const std::vector<plugins::CatalogueRow>& rows) {
  std::map<std::pair<std::string, std::string>, DuplicateGroup> byFilter;
  for (const auto& row : rows) {
    if (virtualCategory(row.category)) continue;
    DuplicateGroup& group = byFilter[{row.category, row.title}];
    if (std::find(group.paths.begin(), group.paths.end(), row.path) == group.paths.end())
      group.paths.push_back(row.path);
  }
  std::vector<DuplicateGroup> groups;
  std::vector<std::string> sortTexts;
  for (auto& [key, group] : byFilter) {
    if (group.paths.size() < 2) continue;
    group.category = key.first;
    group.title = key.second;
    group.identical = std::all_of(group.paths.begin() + 1, group.paths.end(),
                                  [&](const auto& p) { return sameBytes(group.paths.front(), p); });
    sortTexts.push_back(cp1252ToUtf8(group.category) + '\t' + group.title);
    groups.push_back(std::move(group));
  }
  std::vector<std::string_view> texts(sortTexts.begin(), sortTexts.end());
  std::vector<DuplicateGroup> sorted;
  sorted.reserve(groups.size());
  for (std::size_t i : textOrder(texts)) sorted.push_back(std::move(groups[i]));
  return sorted;
}

}  // namespace qm::catalogue
