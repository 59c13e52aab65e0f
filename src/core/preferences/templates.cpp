#include "core/preferences/templates.h"

#include <algorithm>
#include <array>

namespace qm::preferences {

bool isKnownTemplateSize(std::uintmax_t size) {
  constexpr std::array<std::uintmax_t, 5> kSizes = {49152, 49664, 57344, 99712, 99840};
  return std::find(kSizes.begin(), kSizes.end(), size) != kSizes.end();
}

bool isKnownTemplate(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  auto size = std::filesystem::file_size(file, ec);
  return !ec && isKnownTemplateSize(size);
}

ff::FFOptions ffOptionsFrom(const settings::Options& options,
                            const std::filesystem::path& programDir) {
  ff::FFOptions ff;
  ff.programDir = programDir;
  ff.noOptimize = options.noFFOptimize;
  int used = options.usedFF;
  ff.usedFF = used >= 0 && used <= static_cast<int>(ff::FFTemplate::FF64)
                  ? static_cast<ff::FFTemplate>(used)
                  : ff::FFTemplate::FF30;
  ff.userTemplate = options.photoshopTemplate;
  ff.editorPlugin = options.editorPlugin[0];
  ff.noDialog = options.noDialog;
  ff.allModes = options.allModes;
  ff.bigPreview = options.bigPreview;
  ff.megaPreview = options.megaPreview;
  return ff;
}

}  // namespace qm::preferences
