#include "core/plugins/scan_file.h"

#include <algorithm>
#include <array>

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/record.h"
#include "core/ff/sources.h"
#include "core/ff/template_layout.h"
#include "core/plugins/change_category.h"
#include "core/plugins/enable_info.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/other8b.h"
#include "core/plugins/pe_header.h"
#include "core/plugins/pipl_properties.h"
#include "core/plugins/read_com8bf.h"
#include "core/plugins/read_comprm.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

template <std::size_t N>
bool oneOf(std::string_view value, const std::array<std::string_view, N>& list) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

constexpr std::array<std::string_view, 7> kFilterGroup = {".8bf", "._bf", ".bin", ".aex",
                                                          "._ex", "_8bf", "_aex"};
constexpr std::array<std::string_view, 3> kPremiereGroup = {".prm", "._rm", "_prm"};
constexpr std::array<std::string_view, 4> kSourceGroup = {".txt", ".afs", ".pff", ".ffx"};

constexpr std::uint64_t kLargestFilterFactoryPlugin = 99840;

// Category positions of the template plugins' PIPLs: such files are Filter Factory plugins.
bool isTemplatePosition(std::int32_t p) {
  constexpr auto k64 = ff::layout::at(ff::layout::kD64, ff::layout::kMenuCategoryLength) + 2;
  constexpr auto k64Early =
      ff::layout::at(ff::layout::kD64Early, ff::layout::kMenuCategoryLength) + 2;
  return p == 23896 || p == 31064 || p == 34980 || p == static_cast<std::int32_t>(k64) ||
         p == static_cast<std::int32_t>(k64Early);
}

std::vector<FilterInfo> filterGroupRows(FileBytes& bytes, std::string_view name,
                                        std::string_view ext4, const ff::FFOptions& ffOptions) {
  if (ext4 == ".bin") {
    // The scan hands every .bin to the Filter Factory reader, which knows plugins by their
    // sizes, all below 100 KB; a bigger file is not read into memory at all.
    std::vector<std::uint8_t> all;
    if (bytes.size() <= kLargestFilterFactoryPlugin)
      all = bytes.read(0, static_cast<std::size_t>(bytes.size()));
    ff::FFRecord record;
    FilterInfo row;
    if (ff::Read8bfBytes(ByteView(all.data(), all.size()), name, record, true, false, ffOptions)) {
      row.category = record.category;
      row.title = record.title;
      row.room = static_cast<std::uint32_t>(record.category.size());
    }
    return {row};
  }
  FilterTable table = ReadCom8bfFrom(bytes, name, ffOptions);
  for (auto& f : table.filters) {
    if (!isTemplatePosition(f.position)) continue;
    f.position = 0;
    // The template's field has a fixed room, whatever bytes follow the current text.
    f.room = kMaxTemplateCategory;
  }
  return table.filters;
}

std::vector<FilterInfo> premiereGroupRows(FileBytes& bytes, std::string_view name,
                                          const ff::FFOptions& ffOptions) {
  FilterTable table = ReadCom8bfFrom(bytes, name, ffOptions);
  // "Finds nothing" is read as: no first filter with both texts; then the window search
  // gets its chance.
  if (table.ok) {
    for (auto& f : table.filters) {
      if (f.position == 29108 || f.position == 29612 || f.position == 32172) {
        f.category = "[Premiere FF]";
        f.position = 0;
      } else if (f.position == 29172 || f.position == 29692 || f.position == -26460) {
        f.category = "[Premiere TF]";
        f.position = 0;
      }
    }
    return table.filters;
  }
  FilterInfo f = ReadComprmFrom(bytes).filter;
  // ReadComprm gives true positions, one less than the templates' listed ones.
  const std::int64_t listed = std::int64_t{f.position} + 1;
  if (listed == 29108 || listed == 29612 || listed == 32172) {
    f.category = "[Premiere FF]";
    f.position = 0;
  } else if (listed == 29172 || listed == 29692 || listed == 39076) {
    f.category = "[Premiere TF]";
    f.position = 0;
  }
  return {f};
}

bool readSourceRecord(const std::filesystem::path& file, std::string_view ext4,
                      const ff::FFOptions& ffOptions, ff::FFRecord& record) {
  if (ext4 == ".txt") return ff::ReadTXT(file, record, ffOptions);
  if (ext4 == ".afs") return ff::ReadAFS(file, record, ffOptions);
  if (ext4 == ".pff") return ff::ReadPFF(file, record, ffOptions);
  return ext4 == ".ffx" && ff::ReadFFX(file, record);
}

// The same from a file already open: one read, no walk of the path.
bool readSourceRecord(const std::filesystem::path& file, std::string_view ext4,
                      const ff::FFOptions& ffOptions, FileBytes& opened, ff::FFRecord& record) {
  if (opened.size() > ff::kLargestSource) return false;
  const ByteView bytes = opened.all();
  if (bytes.size() != opened.size()) return false;
  if (ext4 == ".txt") return ff::ReadTXTFrom(file, bytes, record, ffOptions);
  const std::string fileName = ff::recordFileName(file);
  if (ext4 == ".afs") return ff::ReadAFSBytes(bytes, fileName, record, ffOptions);
  if (ext4 == ".pff") return ff::ReadPFFBytes(bytes, fileName, record, ffOptions);
  return ext4 == ".ffx" && ff::ReadFFXBytes(bytes, fileName, record);
}

// opened: the file, when it could be opened through its folder.
std::optional<CatalogueRow> sourceRow(const std::filesystem::path& file, std::string_view ext4,
                                      const ff::FFOptions& ffOptions, FileBytes* opened) {
  ff::FFRecord record;
  const bool ok = opened ? readSourceRecord(file, ext4, ffOptions, *opened, record)
                         : readSourceRecord(file, ext4, ffOptions, record);
  if (!ok || record.title.empty()) return std::nullopt;
  CatalogueRow row;
  row.category = record.category;
  row.title = shownRecordName(record.title, file) + " (" + std::string(ext4) + ")";
  return row;
}

}  // namespace

bool isFilterFactoryFile(std::string_view fileName, std::uint64_t size) {
  const std::string ext4 = lastLower(fileName, 4);
  if (oneOf(ext4, kPremiereGroup))
    return size == 50176 || size == 50688 || size == 51200 || size == 53248;
  if (ext4 == ".8bf" || ext4 == "._bf" || ext4 == ".bin" || ext4 == "_8bf")
    return size == 57344 || size == 49152 || size == 53760 || size == 49664 || size == 99712 ||
           size == 99840 || size == ff::layout::kSize64 || size == ff::layout::kSize64Early;
  return false;
}

std::vector<CatalogueRow> scanFile(const std::filesystem::path& file, const ScanOptions& options,
                                   const PlugTypeTable& table, const ff::FFOptions& ffOptions) {
  return scanFile(file, nullptr, file.filename().native(), options, table, ffOptions);
}

std::vector<CatalogueRow> scanFile(const std::filesystem::path& file, const OpenFolder* folder,
                                   const std::string& name, const ScanOptions& options,
                                   const PlugTypeTable& table, const ff::FFOptions& ffOptions,
                                   std::optional<FileStamp>* readStamp) {
  auto openFile = [&] {
    auto bytes = folder ? FileBytes::open(*folder, name) : FileBytes::open(file);
    if (bytes && readStamp) *readStamp = FileStamp{bytes->size(), bytes->modified()};
    return bytes;
  };
  const std::string ext4 = lastLower(name, 4);
  // The readers keep the name in their record, a field stored in files.
  const std::string recordName = utf8ToCp1252(name);
  std::vector<CatalogueRow> rows;

  if (options.filterFactoryOnly) {
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    if (ec || !isFilterFactoryFile(name, size)) return rows;
  }

  if (options.includeSources && oneOf(ext4, kSourceGroup)) {
    std::optional<FileBytes> bytes;
    if (folder) bytes = openFile();
    if (auto row = sourceRow(file, ext4, ffOptions, bytes ? &*bytes : nullptr)) {
      row->path = file;
      rows.push_back(std::move(*row));
    }
    return rows;
  }

  const bool filterGroup = oneOf(ext4, kFilterGroup);
  const bool premiereGroup = oneOf(ext4, kPremiereGroup);
  if (filterGroup || premiereGroup) {
    auto bytes = openFile();
    std::vector<FilterInfo> filters;
    std::optional<std::string> architecture;
    if (bytes) {
      architecture = peArchitecture(*bytes);
      filters = filterGroup ? filterGroupRows(*bytes, recordName, ext4, ffOptions)
                            : premiereGroupRows(*bytes, recordName, ffOptions);
    }
    // These groups always give a row; what could not be named is filed as "[Unknown]".
    if (filters.empty()) filters.push_back(FilterInfo{});
    for (auto& f : filters) {
      CatalogueRow row{file,
                       f.category,
                       cp1252ToUtf8(f.title),
                       f.position,
                       f.room,
                       architectureText(f.entryPoints, architecture),
                       offeredModes(f.enableInfo, f.supportedModes),
                       f.enableInfo};
      if (row.category.empty() || row.title.empty()) {
        row.category = "[Unknown]";
        row.title = displayText(name);
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  if (!table.empty() && table.match(name)) {
    // One open serves the architecture and, when the type asks for it, the version string.
    auto bytes = openFile();
    OtherResult other = bytes ? ReadOther8bFrom(*bytes, name, table) : ReadOther8b(file, table);
    if (other.ok) {
      CatalogueRow row{file, other.category, other.name, -1, 0, std::nullopt};
      if (bytes) row.architecture = peArchitecture(*bytes);
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

}  // namespace qm::plugins
