#include "core/common/cp1252.h"
#include "core/ff/load_file.h"
#include "core/picture/thumbnails.h"
#include "core/plugins/read_com8bf.h"

namespace qm::picture {

std::vector<ThumbnailSource> thumbnailSourcesOf(const std::filesystem::path& file,
                                                const ff::FFOptions& options,
                                                const std::string& onlyTitle) {
  const std::string stem = file.stem().string();
  if (auto loaded = ff::loadFilterFactoryFile(file, options, ff::LoadPurpose::Editor))
    return {{file, {}, stem, cp1252ToUtf8(loaded->title), {}}};
  // Another plugin: the titles its filters have in the Plugin View.
  const auto table = plugins::ReadCom8bf(file, options);
  if (table.filters.size() < 2) {
    std::string title = file.filename().string();
    if (!table.filters.empty() && !table.filters.front().title.empty())
      title = cp1252ToUtf8(table.filters.front().title);
    return {{file, {}, stem, title, {}}};
  }
  std::vector<ThumbnailSource> sources;
  for (std::size_t k = 0; k < table.filters.size(); ++k) {
    const std::string title = cp1252ToUtf8(table.filters[k].title);
    if (!onlyTitle.empty() && title != onlyTitle) continue;
    sources.push_back({file, {}, stem + "-" + std::to_string(k + 1), title, title});
    // Two filters of one title are one to the host, which runs the first.
    if (!onlyTitle.empty()) break;
  }
  return sources;
}

}  // namespace qm::picture
