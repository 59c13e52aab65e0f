#include "core/host/filter_loader.h"

#include "core/ff/formula_cleanup.h"
#include "core/ff/load_file.h"
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

}  // namespace qm::host
