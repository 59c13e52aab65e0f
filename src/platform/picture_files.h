#pragma once
// apply's picture files through Qt's image plugins.

#include "core/apply/picture_files.h"

namespace qm::platform {

class QtPictureFiles final : public apply::PictureFiles {
 public:
  std::optional<host::Image> read(const std::filesystem::path& file) override;
  std::string whyUnreadable(const std::filesystem::path& file) override;
  std::optional<std::vector<std::uint8_t>> encode(const host::Image& image,
                                                  const std::filesystem::path& output,
                                                  const apply::EncodeRequest& request) override;
};

}  // namespace qm::platform
