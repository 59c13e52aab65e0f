#include "cli/apply_batch.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <thread>

#include "core/batch/overwrite_check.h"
#include "core/common/unicode_text.h"
#include "core/shell/fs.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

// Pictures in flight at once; each holds its decoded, filtered and encoded copies.
constexpr unsigned kMaxPicturesAtOnce = 4;

struct Job {
  fs::path input;
  fs::path output;
  std::optional<PictureReport> report;  // empty: not run (skipped, or cancelled before it)
};

fs::path outputFor(const fs::path& input, const BatchOptions& options) {
  const std::string extension =
      options.format.empty() ? input.extension().string() : "." + options.format;
  const fs::path folder = options.dest.empty() ? input.parent_path() : options.dest;
  return folder / (input.stem().string() + options.suffix + extension);
}

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

// Runs the jobs on up to kMaxPicturesAtOnce workers; Ctrl-C stops them between pictures.
void runJobs(Context& context, const ApplySetup& setup, std::vector<Job*>& jobs, unsigned threads) {
  const unsigned workers =
      std::max(1u, std::min({threads, kMaxPicturesAtOnce, static_cast<unsigned>(jobs.size())}));
  // The threads left over go to each picture's own rows.
  const unsigned rowThreads = std::max(1u, threads / workers);
  std::atomic<std::size_t> next{0};
  ProgressLine progress(context.err, jobs.size());
  auto work = [&] {
    formula::ThreadPool pool(rowThreads);
    while (true) {
      if (context.progress.cancelled()) return;
      const std::size_t i = next.fetch_add(1);
      if (i >= jobs.size()) return;
      jobs[i]->report = applyToPicture(setup, jobs[i]->input, jobs[i]->output, &pool, {});
      progress.pictureDone();
    }
  };
  std::vector<std::jthread> pool;
  for (unsigned k = 1; k < workers; ++k) pool.emplace_back(work);
  work();
  pool.clear();
  progress.finish();
}

}  // namespace

int runApplyBatch(Context& context, const ApplySetup& setup, const std::vector<fs::path>& images,
                  const BatchOptions& options) {
  if (!options.dest.empty()) {
    std::error_code ec;
    fs::create_directories(options.dest, ec);
    if (ec) {
      context.err << displayPath(options.dest) << ": " << ec.message() << '\n';
      return kSomeFailed;
    }
  }
  std::vector<Job> jobs;
  for (const fs::path& image : images) jobs.push_back({image, outputFor(image, options), {}});

  // Asked before the work, on this thread, so a kept file costs no filtering.
  std::vector<Job*> toRun;
  std::vector<std::string> problems;
  batch::OverwriteCheck overwrite(context.prompter);
  for (Job& job : jobs) {
    if (shell::DiskFs{}.same(job.input, job.output)) {
      job.report = PictureReport{
          PictureStatus::Failed, displayPath(job.output) + ": would replace its own input", {}};
      continue;
    }
    switch (overwrite(job.input, job.output)) {
      case batch::OverwriteDecision::Write:
        toRun.push_back(&job);
        break;
      case batch::OverwriteDecision::Skip:
        context.err << displayPath(job.output)
                    << ": exists, not replaced (--overwrite all replaces it)\n";
        break;
      case batch::OverwriteDecision::Cancel:
        return kCancelled;
    }
  }

  if (!toRun.empty()) runJobs(context, setup, toRun, options.threads);
  const bool cancelled =
      std::any_of(toRun.begin(), toRun.end(), [](const Job* job) { return !job->report; });

  auto written = nlohmann::json::array();
  auto failed = nlohmann::json::array();
  PhaseTimes total;
  for (const Job& job : jobs) {
    if (!job.report) continue;
    total += job.report->times;
    if (job.report->status == PictureStatus::Written) {
      written.push_back(job.output.string());
      if (!options.json) context.out << displayPath(job.output) << '\n';
    } else {
      failed.push_back(job.input.string());
      context.err << job.report->problem << '\n';
    }
  }
  if (options.json) {
    const nlohmann::json json = {{"written", written}, {"failed", failed}};
    context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    context.out << written.size() << " written, " << failed.size() << " failed\n";
  }
  if (options.timings) context.err << describeTimings(total) << '\n';
  if (cancelled) {
    context.err << "quillmark-cli apply: cancelled\n";
    return kCancelled;
  }
  return failed.empty() ? kOk : kSomeFailed;
}

}  // namespace qm::cli
