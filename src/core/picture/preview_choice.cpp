#include "core/picture/preview_choice.h"

#include <algorithm>
#include <cctype>

namespace qm::picture {

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

std::optional<std::size_t> pictureEntryFor(const std::vector<std::string>& pictures,
                                           const std::string& path) {
  for (std::size_t i = 0; i < pictures.size(); ++i)
    if (sameIgnoringCase(pictures[i], path)) return i;
  return std::nullopt;
}

std::size_t choosePreviewPicture(settings::Options& options, settings::Store& store,
                                 const std::string& path) {
  options.previewPicture = path;
  store.set(settings::kSettings, "PreviewPic", path);
  if (auto listed = pictureEntryFor(options.pictures, path)) return *listed;
  options.pictures.push_back(path);
  const std::size_t index = options.pictures.size() - 1;
  store.set(settings::kSettings, "Pic" + std::to_string(index), path);
  return index;
}

}  // namespace qm::picture
