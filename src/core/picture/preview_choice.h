#pragma once
// Choosing the preview picture ("Open Preview Image...", a picture entry of the File menu,
// the Picture Editor's "Use as Preview Image").

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/options.h"
#include "core/settings/store.h"

namespace qm::picture {

// The entry of the picture list whose text equals path, case ignored (the ticked entry).
std::optional<std::size_t> pictureEntryFor(const std::vector<std::string>& pictures,
                                           const std::string& path);

// path becomes the preview picture (setting PreviewPic) and, unless it is listed already,
// the last entry of the picture list (setting PicN). Returns the entry that shows it.
std::size_t choosePreviewPicture(settings::Options& options, settings::Store& store,
                                 const std::string& path);

}  // namespace qm::picture
