#include "cli/apply_batch.h"

#include <unistd.h>

#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>

#include "core/common/unicode_text.h"
#include "platform/picture_files.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

// A progress line on a terminal, rewritten in place.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, std::size_t total)
      : err_(err), total_(total), shown_(isatty(STDERR_FILENO) != 0) {}
  void pictureDone() {
    const std::lock_guard lock(mutex_);
    ++done_;
    if (shown_) err_ << '\r' << done_ << '/' << total_ << " pictures" << std::flush;
  }
  void finish() {
    if (shown_ && done_ > 0) err_ << '\n';
  }

 private:
  std::ostream& err_;
  std::size_t total_;
  bool shown_;
  std::size_t done_ = 0;
  std::mutex mutex_;
};

}  // namespace

int runApplyBatch(Context& context, const apply::ApplySetup& setup,
                  const std::vector<fs::path>& images, const apply::BatchOptions& options,
                  BatchPrinting printing) {
  platform::QtPictureFiles files;
  apply::BatchApply batch(setup, files, images, options);
  if (const auto problem = batch.makeDestination()) {
    context.err << *problem << '\n';
    return kSomeFailed;
  }
  batch::OverwriteCheck overwrite(context.prompter);
  const bool decided = batch.decide(overwrite, [&](const apply::BatchItem& item) {
    context.err << displayPath(item.output) << ": " << apply::kKeptReason
                << " (--overwrite all replaces it)\n";
  });
  if (!decided) return kCancelled;

  if (batch.toRun() > 0) {
    ProgressLine progress(context.err, batch.toRun());
    batch.run([&] { return context.progress.cancelled(); }, [&] { progress.pictureDone(); });
    progress.finish();
  }
  const apply::BatchSummary summary = batch.summary();
  if (printing.json) {
    auto written = nlohmann::json::array();
    auto skipped = nlohmann::json::array();
    auto failed = nlohmann::json::array();
    for (const fs::path& file : summary.written) written.push_back(file.string());
    for (const fs::path& file : summary.kept) skipped.push_back(file.string());
    for (const auto& failure : summary.failed)
      failed.push_back({{"path", failure.input.string()}, {"reason", failure.reason}});
    const nlohmann::json json = {{"written", written}, {"skipped", skipped}, {"failed", failed}};
    context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    for (const fs::path& file : summary.written) context.out << displayPath(file) << '\n';
    context.out << apply::summaryLine(summary) << '\n';
  }
  for (const auto& failure : summary.failed) context.err << failure.line() << '\n';
  if (printing.timings) context.err << apply::describeTimings(summary.times) << '\n';
  if (summary.stopped) {
    context.err << "quillmark-cli apply: cancelled\n";
    return kCancelled;
  }
  return summary.failed.empty() ? kOk : kSomeFailed;
}

}  // namespace qm::cli
