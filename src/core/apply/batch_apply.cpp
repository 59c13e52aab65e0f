#include "core/apply/batch_apply.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "core/common/same_file.h"
#include "core/common/unicode_text.h"
#include "core/formula/thread_pool.h"

namespace qm::apply {
namespace {

namespace fs = std::filesystem;

// Pictures in flight at once; each holds its decoded, filtered and encoded copies.
constexpr unsigned kMaxPicturesAtOnce = 4;

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

}  // namespace

std::string summaryLine(const BatchSummary& summary) {
  return std::to_string(summary.written.size()) + " written, " +
         std::to_string(summary.kept.size()) + " skipped, " +
         std::to_string(summary.failed.size()) + " failed";
}

BatchApply::BatchApply(const ApplySetup& setup, PictureFiles& files,
                       const std::vector<fs::path>& images, BatchOptions options)
    : setup_(setup), files_(files), options_(std::move(options)) {
  for (const fs::path& image : images) {
    BatchItem& item = items_.emplace_back();
    item.input = image;
    item.output = outputFor(image, options_);
  }
}

std::optional<std::string> BatchApply::makeDestination() const {
  if (options_.dest.empty()) return std::nullopt;
  std::error_code ec;
  fs::create_directories(options_.dest, ec);
  if (ec) return displayPath(options_.dest) + ": " + ec.message();
  return std::nullopt;
}

// Asked before the work, in the pictures' order, so a kept file costs no filtering and an
// output named twice goes to the later picture only when the mode says so.
bool BatchApply::decide(batch::OverwriteCheck& overwrite,
                        const std::function<void(const BatchItem&)>& kept) {
  toRun_.clear();
  after_.assign(items_.size(), std::nullopt);
  std::vector<fs::path> inputs;
  for (const BatchItem& item : items_) inputs.push_back(item.input);
  inputs.push_back(setup_.filterFile);
  std::map<std::string, std::size_t> claimed;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    BatchItem& item = items_[i];
    // The pictures and the filter's file are the run's inputs; no result may replace one.
    if (replacesOwnInput(item.output, inputs)) {
      item.report = PictureReport{
          PictureStatus::Failed, displayPath(item.output), std::string(kOwnInputReason), {}};
      continue;
    }
    const std::string key = outputKey(item.output);
    const auto earlier = claimed.find(key);
    const bool claimedBefore = earlier != claimed.end();
    switch (overwrite(item.input, item.output, claimedBefore)) {
      case batch::OverwriteDecision::Write:
        if (claimedBefore) after_[i] = earlier->second;
        claimed[key] = i;
        toRun_.push_back(i);
        break;
      case batch::OverwriteDecision::Skip:
        item.kept = true;
        if (kept) kept(item);
        break;
      case batch::OverwriteDecision::Cancel:
        toRun_.clear();
        return false;
    }
  }
  return true;
}

// Each picture is read, filtered and encoded by one worker, so the cores stay busy whatever
// phase a picture is in; the threads left over go to each picture's own rows.
void BatchApply::run(const std::function<bool()>& cancelled,
                     const std::function<void()>& pictureDone) {
  if (toRun_.empty()) return;
  const unsigned threads = std::max(1u, options_.threads);
  const unsigned workers =
      std::min({threads, kMaxPicturesAtOnce, static_cast<unsigned>(toRun_.size())});
  const unsigned rowThreads = std::max(1u, threads / workers);
  const std::function<bool()> stopped = [&] { return cancelled && cancelled(); };
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  std::condition_variable finishedOne;
  std::vector<char> finished(items_.size(), 0);  // guarded by mutex
  auto work = [&] {
    formula::ThreadPool pool(rowThreads);
    while (!stopped()) {
      const std::size_t k = next.fetch_add(1);
      if (k >= toRun_.size()) return;
      const std::size_t i = toRun_[k];
      // Taken before this one, so it is running or done.
      if (const auto before = after_[i]) {
        std::unique_lock lock(mutex);
        finishedOne.wait(lock, [&] { return finished[*before] != 0; });
      }
      BatchItem& item = items_[i];
      item.report = applyToPicture(setup_, files_, item.input, item.output, &pool, stopped);
      {
        const std::lock_guard lock(mutex);
        finished[i] = 1;
      }
      finishedOne.notify_all();
      if (pictureDone && item.report->status != PictureStatus::Cancelled) pictureDone();
    }
  };
  std::vector<std::jthread> helpers;
  for (unsigned k = 1; k < workers; ++k) helpers.emplace_back(work);
  work();
  helpers.clear();
}

BatchSummary BatchApply::summary() const {
  BatchSummary summary;
  summary.total = items_.size();
  std::set<std::string> writtenOnce;
  for (const BatchItem& item : items_) {
    if (item.kept) {
      summary.kept.push_back(item.input);
      summary.keptOutputs.push_back(item.output);
    }
    if (!item.report) continue;
    summary.times += item.report->times;
    switch (item.report->status) {
      case PictureStatus::Written:
        ++summary.finished;
        // A result replaced by a later picture's is one file written.
        if (writtenOnce.insert(item.output.string()).second) summary.written.push_back(item.output);
        break;
      case PictureStatus::Failed:
        ++summary.finished;
        summary.failed.push_back({item.input, item.report->where, item.report->reason});
        break;
      case PictureStatus::Cancelled:
        break;
    }
  }
  summary.stopped = std::any_of(toRun_.begin(), toRun_.end(), [&](std::size_t i) {
    return !items_[i].report || items_[i].report->status == PictureStatus::Cancelled;
  });
  return summary;
}

}  // namespace qm::apply
