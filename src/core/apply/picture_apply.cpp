#include "core/apply/picture_apply.h"

#include "core/common/cp1252.h"
#include "core/common/unicode_text.h"
#include "core/common/unreadable_reason.h"
#include "core/ff/plugin_file_io.h"
#include "core/host/run_filter.h"

namespace qm::apply {
namespace {

using Clock = std::chrono::steady_clock;

PictureReport failed(std::string where, std::string reason, const PhaseTimes& times) {
  return {PictureStatus::Failed, std::move(where), std::move(reason), times};
}

}  // namespace

PhaseTimes& PhaseTimes::operator+=(const PhaseTimes& other) {
  decode += other.decode;
  filter += other.filter;
  encode += other.encode;
  return *this;
}

std::string describeTimings(const PhaseTimes& times) {
  auto ms = [](Clock::duration d) {
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
  };
  return "decode " + ms(times.decode) + " ms, filter " + ms(times.filter) + " ms, encode " +
         ms(times.encode) + " ms";
}

PictureReport applyToPicture(const ApplySetup& setup, PictureFiles& files,
                             const std::filesystem::path& input,
                             const std::filesystem::path& output, formula::ThreadPool* pool,
                             const std::function<bool()>& cancelled) {
  PhaseTimes times;
  auto start = Clock::now();
  auto image = files.read(input);
  times.decode = Clock::now() - start;
  if (!image || !image->valid()) {
    // A file that is not there, or no file, gets the system's reason.
    auto reason = unreadableReason(input);
    return failed(displayPath(input), reason ? *reason : files.whyUnreadable(input), times);
  }
  auto stopped = [&] { return cancelled && cancelled(); };
  if (stopped()) return {PictureStatus::Cancelled, {}, {}, times};

  if (setup.foreign) {
    start = Clock::now();
    const auto result = setup.foreign(*image, cancelled);
    times.filter = Clock::now() - start;
    if (result.status == plughost::ForeignResult::Status::Cancelled)
      return {PictureStatus::Cancelled, {}, {}, times};
    if (result.status == plughost::ForeignResult::Status::Failed) {
      // The host's texts name the plugin already.
      std::string reason = result.message;
      if (const std::string named = setup.filterArg + ": "; reason.starts_with(named))
        reason.erase(0, named.size());
      return failed(setup.filterArg, reason, times);
    }
  } else {
    host::FilterRun run;
    run.sliders = setup.sliders;
    run.pool = pool;
    run.cancelled = cancelled;
    run.engine = setup.engine;
    run.keepPictureOnCancel = false;  // a cancelled picture is not written
    const host::Rect whole{0, 0, image->width - 1, image->height - 1};
    start = Clock::now();
    const auto report = host::runFilter(setup.formulas, *image, whole, run);
    times.filter = Clock::now() - start;
    switch (report.outcome) {
      case host::RunOutcome::Done:
        break;
      case host::RunOutcome::BadFormula:
        return failed(setup.filterArg, cp1252ToUtf8(host::describe(report.error)), times);
      case host::RunOutcome::Cancelled:
        return {PictureStatus::Cancelled, {}, {}, times};
      case host::RunOutcome::BadArea:
        return failed(displayPath(input), "the picture is empty", times);
    }
  }

  start = Clock::now();
  auto encoded = files.encode(*image, output, {setup.pngLevel, stopped});
  times.encode = Clock::now() - start;
  if (stopped()) return {PictureStatus::Cancelled, {}, {}, times};
  if (!encoded)
    return failed(displayPath(output), "cannot write the picture in this format", times);
  const std::string reason = ff::replaceFile(output, *encoded);
  times.encode = Clock::now() - start;
  if (!reason.empty()) return failed(displayPath(output), reason, times);
  return {PictureStatus::Written, {}, {}, times};
}

}  // namespace qm::apply
