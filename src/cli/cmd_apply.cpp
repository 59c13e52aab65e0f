// apply FILTER INPUT OUTPUT: runs a Filter Factory filter over a picture file.

#include <charconv>
#include <filesystem>
#include <ostream>
#include <thread>

#include "cli/command.h"
#include "core/batch/overwrite_check.h"
#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/common/unreadable_reason.h"
#include "core/ff/plugin_file_io.h"
#include "core/formula/thread_pool.h"
#include "core/host/filter_loader.h"
#include "core/host/image_library.h"
#include "core/host/run_filter.h"
#include "platform/image_codec.h"

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
    "A formula error is reported with the channel and the 1-based position (exit 1).\n"
    "Ctrl-C stops the run between rows (exit 3); OUTPUT is then not written.\n";

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

int runApply(Context& context) {
  const auto& positional = context.args.positional;
  if (positional.size() != 3) {
    context.err << "quillmark-cli apply: give FILTER, INPUT and OUTPUT\n";
    return kUsage;
  }
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  if (auto t = context.args.value("threads")) {
    auto n = parseNumber(*t, 1, 256);
    if (!n) {
      context.err << "quillmark-cli apply: --threads takes a number from 1 to 256\n";
      return kUsage;
    }
    threads = static_cast<unsigned>(*n);
  }
  const std::string& filterArg = positional[0];
  const fs::path input = positional[1];
  const fs::path output = positional[2];

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

  // The optimiser's rewrites are not all value-preserving (sqr(x*x+y*y) -> c2m, rad(d,m,z) ->
  // c), so a filter runs as stored, like the plugin itself would.
  ff::FFOptions options;
  options.noOptimize = true;
  options.programDir = context.programDir;
  auto filter = host::loadFilter(filterArg, options);
  if (!filter) {
    context.err << filter.error() << '\n';
    return kSomeFailed;
  }
  warnEmptyFormulas(filterArg, filter->formulas, context.err);
  host::FilterRun run;
  run.sliders = filter->sliderValues;
  if (!overrideSliders(context.args, run.sliders, context.err)) return kUsage;

  platform::QtImageCodec codec;
  host::ImageLibrary images(codec);
  const host::ImageHandle picture = images.open(input);
  if (picture == 0) {
    // A file that is not there, or no file, gets the system's reason.
    context.err << displayPath(input) << ": "
                << unreadableReason(input).value_or(
                       platform::pictureSizeProblem(input).value_or("cannot read the picture"))
                << '\n';
    return kSomeFailed;
  }
  host::Image& image = *images.image(picture);
  formula::ThreadPool pool(threads);
  run.pool = &pool;
  run.cancelled = [&] { return context.progress.cancelled(); };
  const host::Rect whole{0, 0, image.width - 1, image.height - 1};
  const auto report = host::runFilter(filter->formulas, image, whole, run);
  switch (report.outcome) {
    case host::RunOutcome::Done:
      break;
    case host::RunOutcome::BadFormula:
      context.err << filterArg << ": " << cp1252ToUtf8(host::describe(report.error)) << '\n';
      return kSomeFailed;
    case host::RunOutcome::Cancelled:
      context.err << "quillmark-cli apply: cancelled\n";
      return kCancelled;
    case host::RunOutcome::BadArea:
      context.err << displayPath(input) << ": the picture is empty\n";
      return kSomeFailed;
  }
  auto encoded = codec.encode(image, output);
  if (!encoded) {
    context.err << displayPath(output) << ": cannot write the picture in this format\n";
    return kSomeFailed;
  }
  if (auto reason = ff::replaceFile(output, *encoded); !reason.empty()) {
    context.err << displayPath(output) << ": " << reason << '\n';
    return kSomeFailed;
  }
  // One line per written file, as convert prints them.
  context.out << displayPath(output) << '\n';
  return kOk;
}

}  // namespace

CliCommand makeApplyCommand() {
  return {
      "apply", "apply FILTER INPUT OUTPUT [--ctl N=V]... [--threads N] [--overwrite ask|all|none]",
      kHelp,   {"ctl", "threads", "overwrite"},
      {},      runApply,
      3};
}

}  // namespace qm::cli
