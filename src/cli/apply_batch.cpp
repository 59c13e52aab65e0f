#include "cli/apply_batch.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <set>
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
  // An earlier picture of the run with the same output: this one meets its result as an
  // existing file, so it must not be written before it.
  const Job* after = nullptr;
  bool skipped = false;
  bool finished = false;                // guarded by the workers' mutex
  std::optional<PictureReport> report;  // empty: not run (skipped, or cancelled before it)
};

fs::path outputFor(const fs::path& input, const BatchOptions& options) {
  const std::string extension =
      options.format.empty() ? input.extension().string() : "." + options.format;
  const fs::path folder = options.dest.empty() ? input.parent_path() : options.dest;
  return folder / (input.stem().string() + options.suffix + extension);
}

// One spelling per file, so two outputs named differently ("out/a.png", "./out/a.png") that
// are one file meet each other.
std::string outputKey(const fs::path& output) {
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(output, ec);
  return (ec ? output : canonical).lexically_normal().string();
}

// The pictures and the filter's file are the run's inputs; no result may replace one of them.
bool landsOnAnInput(const fs::path& output, const std::vector<fs::path>& inputs) {
  std::error_code ec;
  if (!fs::exists(output, ec)) return false;
  return std::any_of(inputs.begin(), inputs.end(),
                     [&](const fs::path& input) { return shell::DiskFs{}.same(input, output); });
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

// Runs the jobs on up to kMaxPicturesAtOnce workers, each picture read, filtered and encoded
// by one of them, so the cores stay busy whatever phase a picture is in. Ctrl-C stops every
// picture in flight unwritten.
void runJobs(Context& context, const ApplySetup& setup, std::vector<Job*>& jobs, unsigned threads) {
  const unsigned workers =
      std::max(1u, std::min({threads, kMaxPicturesAtOnce, static_cast<unsigned>(jobs.size())}));
  // The threads left over go to each picture's own rows.
  const unsigned rowThreads = std::max(1u, threads / workers);
  const std::function<bool()> cancelled = [&] { return context.progress.cancelled(); };
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::condition_variable finished;
  ProgressLine progress(context.err, jobs.size());
  auto work = [&] {
    formula::ThreadPool pool(rowThreads);
    while (!cancelled()) {
      const std::size_t i = next.fetch_add(1);
      if (i >= jobs.size()) return;
      Job& job = *jobs[i];
      // Taken before this one, so it is running or done.
      if (job.after) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return job.after->finished; });
      }
      job.report = applyToPicture(setup, job.input, job.output, &pool, cancelled);
      {
        const std::lock_guard lock(mutex);
        job.finished = true;
      }
      finished.notify_all();
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
  for (const fs::path& image : images) {
    Job& job = jobs.emplace_back();
    job.input = image;
    job.output = outputFor(image, options);
  }
  std::vector<fs::path> inputs = images;
  inputs.push_back(setup.filterFile);

  // Asked before the work, on this thread and in the pictures' order, so a kept file costs no
  // filtering and an output named twice goes to the later picture only when the mode says so.
  std::vector<Job*> toRun;
  std::map<std::string, const Job*> claimed;
  batch::OverwriteCheck overwrite(context.prompter);
  for (Job& job : jobs) {
    if (landsOnAnInput(job.output, inputs)) {
      job.report = PictureReport{
          PictureStatus::Failed, displayPath(job.output), "would replace its own input", {}};
      continue;
    }
    const std::string key = outputKey(job.output);
    const auto earlier = claimed.find(key);
    const Job* before = earlier == claimed.end() ? nullptr : earlier->second;
    switch (overwrite(job.input, job.output, before != nullptr)) {
      case batch::OverwriteDecision::Write:
        job.after = before;
        claimed[key] = &job;
        toRun.push_back(&job);
        break;
      case batch::OverwriteDecision::Skip:
        job.skipped = true;
        context.err << displayPath(job.output)
                    << ": exists, not replaced (--overwrite all replaces it)\n";
        break;
      case batch::OverwriteDecision::Cancel:
        return kCancelled;
    }
  }

  if (!toRun.empty()) runJobs(context, setup, toRun, options.threads);
  const bool cancelled = std::any_of(toRun.begin(), toRun.end(), [](const Job* job) {
    return !job->report || job->report->status == PictureStatus::Cancelled;
  });

  auto written = nlohmann::json::array();
  auto skipped = nlohmann::json::array();
  auto failed = nlohmann::json::array();
  std::set<std::string> writtenOnce;
  PhaseTimes total;
  for (const Job& job : jobs) {
    if (job.skipped) skipped.push_back(job.input.string());
    if (!job.report) continue;
    total += job.report->times;
    switch (job.report->status) {
      case PictureStatus::Written:
        // A result replaced by a later picture's is one file written.
        if (!writtenOnce.insert(job.output.string()).second) break;
        written.push_back(job.output.string());
        if (!options.json) context.out << displayPath(job.output) << '\n';
        break;
      case PictureStatus::Failed:
        failed.push_back({{"path", job.input.string()}, {"reason", job.report->reason}});
        context.err << job.report->problemLine() << '\n';
        break;
      case PictureStatus::Cancelled:
        break;
    }
  }
  if (options.json) {
    const nlohmann::json json = {{"written", written}, {"skipped", skipped}, {"failed", failed}};
    context.out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    context.out << written.size() << " written, " << skipped.size() << " skipped, " << failed.size()
                << " failed\n";
  }
  if (options.timings) context.err << describeTimings(total) << '\n';
  if (cancelled) {
    context.err << "quillmark-cli apply: cancelled\n";
    return kCancelled;
  }
  return failed.empty() ? kOk : kSomeFailed;
}

}  // namespace qm::cli
