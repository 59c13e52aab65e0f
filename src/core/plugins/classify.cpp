#include "core/plugins/classify.h"

#include "core/common/cp1252.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/record.h"
#include "core/ff/template_layout.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/other8b.h"
#include "core/plugins/pe_header.h"
#include "core/plugins/read_com8bf.h"
#include "core/plugins/read_comprm.h"
#include "core/plugins/text_util.h"

namespace qm::plugins {
namespace {

std::string filterPluginLabel(std::uint64_t size, std::size_t filterCount) {
  if (filterCount > 1) return "Photoshop Multiple Filter Plugin";
  switch (size) {
    case 49152:
      return "Photoshop Filter Factory 3.04";
    case 49664:
      return "Varnet's FF Design (FF 3.04)";
    case 57344:
      return "Photoshop Filter Factory 3.0";
    case ff::layout::kSize64:
    case ff::layout::kSize64Early:
      return "Photoshop Filter Factory x64";
    case 99712:
    case 99840:
      return "Macintosh Filter Factory Plugin";
    default:
      return "Photoshop Filter Plugin";
  }
}

std::vector<FilterInfo> shown(std::vector<FilterInfo> filters) {
  for (auto& f : filters) {
    f.category = cp1252ToUtf8(f.category);
    f.title = cp1252ToUtf8(f.title);
  }
  return filters;
}

void classifyPremiere(FileBytes& bytes, Classification& c) {
  PrmResult prm = ReadComprmFrom(bytes);
  FilterInfo filter = prm.filter;
  const auto size = bytes.size();
  if (filter.category == "[Premiere Video]") {
    if (size == 50176 || size == 50688 || size == 53248) {
      c.label = "Premiere Filter Factory";
      filter.category = "[Premiere FF]";
    } else {
      c.label = "Premiere 4.2 Video Plugin";
    }
  } else if (filter.category == "[Premiere Audio]") {
    c.label = "Premiere 4.2 Audio Plugin";
  } else if (filter.category == "[Premiere Transition]") {
    if (size == 50688 || size == 51200) {
      c.label = "Premiere Transition Factory";
      filter.category = "[Premiere TF]";
    } else {
      c.label = "Premiere 4.2 Transition Plugin";
    }
  } else {
    // A PIPL catg, or nothing found: still a Premiere plugin by its name.
    c.label = "Premiere 5.0 Plugin";
  }
  c.filters = shown({filter});
}

}  // namespace

Classification classifyFile(const std::filesystem::path& file, const PlugTypeTable& table,
                            const ff::FFOptions& options) {
  Classification c;
  const std::string name = nameBytes(file);
  const std::string ext3 = lastLower(name, 3);
  auto bytes = FileBytes::open(file);
  if (!bytes) return c;
  c.architecture = peArchitecture(*bytes);
  const auto size = bytes->size();

  if (ext3 == "8bf" || ext3 == "_bf") {
    FilterTable t = ReadCom8bfFrom(*bytes, name, options);
    // A failed read has no label, even at a Filter Factory size.
    if (t.ok) {
      c.label = filterPluginLabel(size, t.filters.size());
      c.filters = shown(t.filters);
    }
  } else if (ext3 == "aex" || ext3 == "_ex") {
    FilterTable t = ReadCom8bfFrom(*bytes, name, options);
    c.label = "After Effects Plugin";
    c.filters = shown(t.filters);
  } else if (ext3 == "prm" || ext3 == "_rm") {
    c.premiere = true;
    classifyPremiere(*bytes, c);
  } else if (ext3 == "bin" && isMacFilterFactorySize(size)) {
    c.label = "Macintosh Filter Factory Plugin";
    FilterTable t = ReadCom8bfFrom(*bytes, name, options);
    c.filters = shown(t.filters);
  } else if (!table.empty()) {
    OtherResult other = ReadOther8b(file, table);
    if (other.ok) {
      c.typeTable = true;
      c.label = other.category.substr(1, other.category.size() - 2);
      // Nothing of a table type can be rewritten in place: no position, no room. The title
      // is the file's own name, never squeezed through Windows-1252.
      c.filters = {FilterInfo{cp1252ToUtf8(other.category), other.name, 0, 0}};
    }
  }
  if (c.label && c.filters.empty()) c.filters.push_back(FilterInfo{});
  return c;
}

}  // namespace qm::plugins
