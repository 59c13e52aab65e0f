#include "core/host/filter_loader.h"

#include <charconv>
#include <system_error>

#include "core/common/byte_view.h"
#include "core/ff/convert.h"
#include "core/ff/ffl.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"

namespace qm::host {
namespace {

namespace fs = std::filesystem;

std::optional<ff::FFRecord> loadLibraryEntry(const std::string& argument) {
  const auto hash = argument.rfind('#');
  if (hash == std::string::npos) return std::nullopt;
  const fs::path library = argument.substr(0, hash);
  if (ff::inputKindOf(library.filename().string()) != ff::InputKind::Library) return std::nullopt;
  std::size_t number = 0;
  const char* first = argument.data() + hash + 1;
  const char* last = argument.data() + argument.size();
  auto [end, ec] = std::from_chars(first, last, number);
  if (ec != std::errc() || end != last || first == last) return std::nullopt;
  auto bytes = ff::readWholeFile(library);
  if (!bytes) return std::nullopt;
  return ff::LoadFFLEntry(ByteView(*bytes), number);
}

void translateIfPremiere(ff::FFRecord& rec) {
  if (rec.photoshopDialect) return;
  for (auto& formula : rec.formulas) formula = ff::Correctprmcode(formula);
  rec.photoshopDialect = true;
}

}  // namespace

std::optional<ff::FFRecord> loadFilter(const std::string& argument, const ff::FFOptions& options) {
  std::error_code ec;
  if (!fs::exists(argument, ec)) {
    auto entry = loadLibraryEntry(argument);
    if (entry) translateIfPremiere(*entry);
    return entry;
  }
  ff::FFRecord rec;
  if (!ff::LoadFile(argument, rec, options)) return std::nullopt;
  return rec;
}

std::optional<ff::FFRecord> loadPluginFilter(const fs::path& file) {
  ff::FFOptions options;
  options.noOptimize = true;
  ff::FFRecord rec;
  const auto kind = ff::inputKindOf(file.filename().string());
  bool ok = false;
  if (kind == ff::InputKind::Premiere) {
    ok = ff::Readprm(file, rec, false, false, options) || ff::ReadTF(file, rec, false, options);
    if (ok) translateIfPremiere(rec);
  } else if (kind == ff::InputKind::Plugin || kind == ff::InputKind::Unknown) {
    ok = ff::Read8bf(file, rec, false, false, options);
  }
  if (!ok) return std::nullopt;
  return rec;
}

}  // namespace qm::host
