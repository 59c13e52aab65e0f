#pragma once
// Many pictures through one filter, several at a time: the outputs are decided first (the
// overwrite question, in the pictures' order, on the caller's thread), then each picture is
// read, filtered and encoded by one worker. The command line's batch apply and the window's
// Batch Processing both run it.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/apply/picture_apply.h"
#include "core/batch/overwrite_check.h"

namespace qm::apply {

struct BatchOptions {
  std::filesystem::path dest;  // empty: beside each input
  std::string suffix;          // added to each output's name
  std::string format;          // output extension without its dot; empty: the input's own
  unsigned threads = 1;
};

// Why a picture's result was not written although it could have been.
inline constexpr std::string_view kKeptReason = "exists, not replaced";

struct BatchItem {
  std::filesystem::path input;
  std::filesystem::path output;
  bool kept = false;                    // the output exists and the overwrite mode keeps it
  std::optional<PictureReport> report;  // empty: not run (kept, or stopped before it)
};

struct BatchFailure {
  std::filesystem::path input;
  std::string where;   // the file the problem is about, as shown
  std::string reason;  // what went wrong
  std::string line() const { return where + ": " + reason; }
};

struct BatchSummary {
  std::vector<std::filesystem::path> written;  // each result once, in the pictures' order
  std::vector<std::filesystem::path> kept;     // the inputs whose existing output stayed
  std::vector<std::filesystem::path> keptOutputs;
  std::vector<BatchFailure> failed;
  bool stopped = false;      // the run was cancelled before every picture was through
  std::size_t finished = 0;  // pictures through (written or failed) when it ended
  std::size_t total = 0;     // pictures given
  PhaseTimes times;          // summed over the pictures
};

// "N written, M skipped, F failed"
std::string summaryLine(const BatchSummary& summary);

class BatchApply {
 public:
  BatchApply(const ApplySetup& setup, PictureFiles& files,
             const std::vector<std::filesystem::path>& images, BatchOptions options);
  BatchApply(const BatchApply&) = delete;
  BatchApply& operator=(const BatchApply&) = delete;

  // Creates the destination folder when it is missing; "DIR: reason" when it cannot.
  std::optional<std::string> makeDestination() const;
  // Asks overwrite about every output in the pictures' order; kept is told about each output
  // left as it is, as it is decided. False when the user cancelled (nothing runs then).
  bool decide(batch::OverwriteCheck& overwrite,
              const std::function<void(const BatchItem&)>& kept = {});
  // How many pictures run() will filter.
  std::size_t toRun() const { return toRun_.size(); }
  // Filters the decided pictures. cancelled is polled from the workers and stops every
  // picture in flight unwritten; pictureDone is called from the workers after each picture
  // that went through (written or failed).
  void run(const std::function<bool()>& cancelled, const std::function<void()>& pictureDone = {});
  const std::vector<BatchItem>& items() const { return items_; }
  BatchSummary summary() const;

 private:
  const ApplySetup& setup_;
  PictureFiles& files_;
  BatchOptions options_;
  std::vector<BatchItem> items_;
  std::vector<std::size_t> toRun_;
  // For each item to run: the earlier item with the same output, which must be written first.
  std::vector<std::optional<std::size_t>> after_;
};

}  // namespace qm::apply
