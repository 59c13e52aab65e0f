#include "core/host/filter_loader.h"

#include "core/ff/ffl.h"
#include "core/ff/formula_cleanup.h"
#include "core/ff/load_file.h"
#include "core/ff/plugin_file_io.h"
#include "core/ff/plugin_reader.h"
#include "core/ff/premiere_reader.h"

namespace qm::host {
namespace {

namespace fs = std::filesystem;

void translateIfPremiere(ff::FFRecord& rec) {
  if (rec.photoshopDialect) return;
  for (auto& formula : rec.formulas) formula = ff::Correctprmcode(formula);
  rec.photoshopDialect = true;
}

}  // namespace

Outcome<ff::FFRecord, std::string> loadFilter(const std::string& argument,
                                              const ff::FFOptions& options) {
  auto rec = ff::loadNamedFilter(argument, options);
  // Library entries come untranslated; a filter runs in the Photoshop dialect.
  if (rec) translateIfPremiere(*rec);
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

std::optional<ff::FFRecord> loadLibraryEntryAt(const fs::path& library, std::size_t position) {
  constexpr std::uint64_t kLibraryLimit = 64ull << 20;
  const auto bytes = ff::readFileBytes(library, kLibraryLimit, "too large");
  if (!bytes) return std::nullopt;
  const ByteView view(bytes->data(), bytes->size());
  const auto index = ff::IndexFFL(view);
  if (!index) return std::nullopt;
  for (std::size_t n = 0; n < index->entries.size(); ++n) {
    if (index->entries[n].position != position || index->entries[n].placeholder) continue;
    auto rec = ff::LoadFFLEntry(view, n + 1);
    if (rec) translateIfPremiere(*rec);
    return rec;
  }
  return std::nullopt;
}

}  // namespace qm::host
