// apply FILTER INPUT OUTPUT, or FILTER --dest DIR IMAGE...: runs a Filter Factory filter over
// picture files.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <ostream>
#include <thread>

#include "cli/apply_batch.h"
#include "cli/apply_foreign.h"
#include "cli/command.h"
#include "core/apply/picture_apply.h"
#include "core/batch/overwrite_check.h"
#include "core/common/same_file.h"
#include "core/common/unicode_text.h"
#include "core/formula/thread_pool.h"
#include "core/host/filter_loader.h"
#include "platform/picture_files.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelp =
    "Runs FILTER (any file dump loads, or LIB.ffl#N) over the picture INPUT (png, jpg, bmp,\n"
    "gif, tif, webp, tga, ...) and writes the result to OUTPUT in the format its extension\n"
    "names (png, jpg, bmp, tif, webp, ...; gif and tga are read only). A picture with alpha\n"
    "is filtered as a layer (four channels, the A formula runs) and keeps its alpha where\n"
    "the output format has one; one without is filtered as RGB. The formulas run as stored\n"
    "in the filter, without the optimiser's rewrites, which can change results.\n"
    "\n"
    "  --ctl N=V       slider N (0..7) set to V (0..255) instead of the filter's value\n"
    "  --threads N     threads to use (default: all cores)\n"
    "  --overwrite ask|all|none\n"
    "                  what to do when OUTPUT exists (default: ask on a terminal, else none)\n"
    "\n"
    "  --timings       print \"decode N ms, filter N ms, encode N ms\" on stderr, the wall\n"
    "                  clock of each phase (in batch mode summed over the pictures)\n"
    "  --engine reference|block|compiled\n"
    "                  run the formulas on this engine tier where the filter allows it\n"
    "                  (default: QUILLMARK_ENGINE, else the fastest the machine has)\n"
    "\n"
    "Batch mode, with --dest or --suffix, filters every IMAGE:\n"
    "  --dest DIR      write the results into DIR (created when missing)\n"
    "  --suffix TEXT   add TEXT to each result's name; without --dest the results go beside\n"
    "                  the inputs\n"
    "  --to png|jpg|bmp|tif|webp\n"
    "                  the results' format (default: each input's own)\n"
    "  --json          print {\"written\": [paths], \"skipped\": [paths], \"failed\":\n"
    "                  [{\"path\", \"reason\"}]} as JSON\n"
    "Several pictures are read, filtered and written at once, a few at a time so memory stays\n"
    "bounded; each result is written under a temporary name and renamed when complete. Prints\n"
    "each written file and a summary line, N written, M skipped, F failed (exit 1 when any\n"
    "failed). Two pictures with one result name: the second meets the first's result as an\n"
    "existing file, so --overwrite decides.\n"
    "\n"
    "Both forms:\n"
    "  --png-level 0-9 how hard PNG results are packed: 0 stores the pixels unpacked (on a\n"
    "                  photograph about two thirds of the default's time, files 2 to 3 times\n"
    "                  as large); 1 to 9 pack ever harder for a little more time each\n"
    "                  (default: Qt's, which packs as 6)\n"
    "\n"
    "A result never replaces one of the run's inputs (a picture or the filter's file): that\n"
    "OUTPUT fails with \"would replace its own input\". A symbolic link as OUTPUT is written\n"
    "through to the file it names, which is replaced whole; the link stays.\n"
    "A formula error is reported with the channel and the 1-based position (exit 1).\n"
    "Ctrl-C stops the run at any moment (exit 3), also while a picture is encoded: a picture\n"
    "not yet complete is not written and its OUTPUT stays as it was; in a batch every\n"
    "picture written before is complete.\n"
    "\n"
    "FILTER may also be a Windows filter plugin that is not a Filter Factory filter\n"
    "(PLUGIN.8bf, or PLUGIN.8bf#N for filter N of a file with several): it runs with its\n"
    "default parameters in Quillmark's plugin host under Wine (wine64; 32-bit plugins need\n"
    "32-bit Wine).\n"
    "  --dialog        show the plugin's own dialog first\n"
    "  --timeout S     stop a plugin that does not answer for S seconds (default 60)\n";

std::optional<int> parseNumber(std::string_view text, int low, int high) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high)
    return std::nullopt;
  return v;
}

// Applies the --ctl overrides; false on a malformed one.
bool overrideSliders(const Args& args, std::array<std::uint8_t, 8>& sliders, std::ostream& err) {
  for (const std::string& setting : args.values("ctl")) {
    const auto eq = setting.find('=');
    std::optional<int> index, value;
    if (eq != std::string::npos) {
      index = parseNumber(std::string_view(setting).substr(0, eq), 0, 7);
      value = parseNumber(std::string_view(setting).substr(eq + 1), 0, 255);
    }
    if (!index || !value) {
      err << "quillmark-cli apply: --ctl takes N=V with N 0..7 and V 0..255, not '" << setting
          << "'\n";
      return false;
    }
    sliders[*index] = static_cast<std::uint8_t>(*value);
  }
  return true;
}

// An empty formula leaves its channel as it is; said aloud, since a filter read wrongly (an .afs
// whose lines end in LF only is one long line) would otherwise change nothing without a word.
void warnEmptyFormulas(std::string_view filterArg, const std::array<std::string, 4>& formulas,
                       std::ostream& err) {
  static constexpr char kChannel[] = {'R', 'G', 'B', 'A'};
  for (std::size_t k = 0; k < formulas.size(); ++k)
    if (formulas[k].find_first_not_of(" \t\r\n") == std::string::npos)
      err << filterArg << ": the " << kChannel[k]
          << " formula is empty; that channel stays as it is\n";
}

std::optional<formula::Engine> engineOption(const Args& args, std::ostream& err) {
  const auto name = args.value("engine");
  if (!name) return formula::Engine::Automatic;
  const auto engine = formula::parseEngine(*name);
  if (!engine)
    err << "quillmark-cli apply: --engine takes reference, block or compiled, not '" << *name
        << "'\n";
  return engine;
}

std::optional<std::string> formatOption(const Args& args, std::ostream& err) {
  const auto format = args.value("to");
  if (!format) return std::string();
  static constexpr std::string_view kFormats[] = {"png", "jpg", "bmp", "tif", "webp"};
  if (std::find(std::begin(kFormats), std::end(kFormats), *format) == std::end(kFormats)) {
    err << "quillmark-cli apply: --to takes png, jpg, bmp, tif or webp, not '" << *format << "'\n";
    return std::nullopt;
  }
  return *format;
}

// --png-level: -1 when not given, nullopt (said) when malformed or meaningless for the run.
std::optional<int> pngLevelOption(const Args& args, bool batchMode, std::ostream& err) {
  const auto text = args.value("png-level");
  if (!text) return -1;
  const auto level = parseNumber(*text, 0, 9);
  if (!level) {
    err << "quillmark-cli apply: --png-level takes a number from 0 to 9\n";
    return std::nullopt;
  }
  std::string format = batchMode ? args.value("to").value_or("png")
                                 : fs::path(args.positional.back()).extension().string();
  std::transform(format.begin(), format.end(), format.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (format != "png" && format != ".png") {
    err << "quillmark-cli apply: --png-level goes with PNG results\n";
    return std::nullopt;
  }
  return level;
}

// The file a filter argument names: LIB.ffl#N is entry N of LIB.ffl unless a file has that
// very name.
fs::path filterFileOf(const std::string& argument) {
  std::error_code ec;
  const auto hash = argument.rfind('#');
  if (fs::exists(argument, ec) || hash == std::string::npos) return argument;
  return argument.substr(0, hash);
}

// Loads the filter the run applies into setup: its formulas and sliders (with the --ctl
// overrides) and the file they come from. The exit code when it cannot, the message said.
std::optional<int> loadApplyFilter(Context& context, apply::ApplySetup& setup) {
  // The optimiser's rewrites are not all value-preserving (sqr(x*x+y*y) -> c2m, rad(d,m,z) ->
  // c), so a filter runs as stored, like the plugin itself would.
  ff::FFOptions options;
  options.noOptimize = true;
  options.programDir = context.programDir;
  auto filter = host::loadFilter(setup.filterArg, options);
  if (!filter) {
    context.err << filter.error() << '\n';
    return kSomeFailed;
  }
  warnEmptyFormulas(setup.filterArg, filter->formulas, context.err);
  setup.filterFile = filterFileOf(setup.filterArg);
  setup.formulas = filter->formulas;
  setup.sliders = filter->sliderValues;
  if (!overrideSliders(context.args, setup.sliders, context.err)) return kUsage;
  return std::nullopt;
}

// The single form: one INPUT to one OUTPUT, rows split over the threads.
int applyOne(Context& context, const apply::ApplySetup& setup, unsigned threads) {
  const fs::path input = context.args.positional[1];
  const fs::path output = context.args.positional[2];
  const fs::path inputs[] = {input, setup.filterFile};
  if (replacesOwnInput(output, inputs)) {
    context.err << displayPath(output) << ": " << kOwnInputReason << '\n';
    return kSomeFailed;
  }
  // Asked before the work, so a kept file costs no filtering.
  batch::OverwriteCheck overwrite(context.prompter);
  switch (overwrite(input, output)) {
    case batch::OverwriteDecision::Write:
      break;
    case batch::OverwriteDecision::Skip:
      context.err << displayPath(output)
                  << ": exists, not replaced (--overwrite all replaces it)\n";
      return kOk;
    case batch::OverwriteDecision::Cancel:
      return kCancelled;
  }
  formula::ThreadPool pool(threads);
  platform::QtPictureFiles files;
  const apply::PictureReport report = apply::applyToPicture(
      setup, files, input, output, &pool, [&] { return context.progress.cancelled(); });
  if (context.args.flag("timings")) context.err << apply::describeTimings(report.times) << '\n';
  switch (report.status) {
    case apply::PictureStatus::Written:
      // One line per written file, as convert prints them.
      context.out << displayPath(output) << '\n';
      return kOk;
    case apply::PictureStatus::Failed:
      context.err << report.problemLine() << '\n';
      return kSomeFailed;
    case apply::PictureStatus::Cancelled:
      context.err << "quillmark-cli apply: cancelled\n";
      return kCancelled;
  }
  return kSomeFailed;
}

int runApply(Context& context) {
  const Args& args = context.args;
  const auto& positional = args.positional;
  const bool batchMode = args.value("dest") || args.value("suffix");
  if (!batchMode && positional.size() > 3) {
    context.err << "quillmark-cli apply: unexpected argument '" << positional[3] << "'\n";
    return kUsage;
  }
  if (!batchMode && positional.size() != 3) {
    context.err << "quillmark-cli apply: give FILTER, INPUT and OUTPUT, or FILTER --dest DIR "
                   "IMAGE...\n";
    return kUsage;
  }
  if (batchMode && positional.size() < 2) {
    context.err << "quillmark-cli apply: give FILTER and at least one IMAGE\n";
    return kUsage;
  }
  if (!batchMode && (args.value("to") || args.flag("json"))) {
    context.err << "quillmark-cli apply: --to and --json go with --dest or --suffix\n";
    return kUsage;
  }
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  if (auto t = args.value("threads")) {
    auto n = parseNumber(*t, 1, 256);
    if (!n) {
      context.err << "quillmark-cli apply: --threads takes a number from 1 to 256\n";
      return kUsage;
    }
    threads = static_cast<unsigned>(*n);
  }
  const auto engine = engineOption(args, context.err);
  const auto format = formatOption(args, context.err);
  const auto pngLevel = pngLevelOption(args, batchMode, context.err);
  if (!engine || !format || !pngLevel) return kUsage;

  apply::ApplySetup setup;
  setup.filterArg = positional[0];
  setup.engine = *engine;
  setup.pngLevel = *pngLevel;
  switch (prepareForeignApply(context, setup)) {
    case ForeignChoice::Refused:
      return kSomeFailed;
    case ForeignChoice::Ready:
      setup.filterFile = filterFileOf(setup.filterArg);
      break;
    case ForeignChoice::NotForeign:
      if (const auto failure = loadApplyFilter(context, setup)) return *failure;
      break;
  }

  if (!batchMode) return applyOne(context, setup, threads);
  apply::BatchOptions batch;
  batch.dest = args.value("dest").value_or("");
  batch.suffix = args.value("suffix").value_or("");
  batch.format = *format;
  batch.threads = threads;
  return runApplyBatch(context, setup, {positional.begin() + 1, positional.end()}, batch,
                       {args.flag("json"), args.flag("timings")});
}

}  // namespace

CliCommand makeApplyCommand() {
  return {"apply",
          "apply FILTER INPUT OUTPUT [--ctl N=V]... [--threads N] [--overwrite ask|all|none]\n"
          "       [--png-level 0-9] [--timings] [--engine reference|block|compiled] [--dialog]\n"
          "       [--timeout S]\n"
          "   or: apply FILTER --dest DIR [--suffix TEXT] [--to png|jpg|bmp|tif|webp] [--json]\n"
          "       [same options] IMAGE...",
          kHelp,
          {"ctl", "threads", "overwrite", "engine", "dest", "suffix", "to", "png-level", "timeout"},
          {"timings", "json", "dialog"},
          runApply,
          SIZE_MAX,
          {"ctl"}};
}

}  // namespace qm::cli
