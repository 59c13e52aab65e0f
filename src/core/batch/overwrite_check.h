#pragma once
// The overwrite decision every command that writes files asks once per file. The mode is
// shared by all calls until it is reset (both paths empty).

#include <filesystem>

#include "core/common/ports.h"

namespace qm::batch {

enum class OverwriteDecision { Write = 0, Skip = 1, Cancel = 4 };

class OverwriteCheck {
 public:
  explicit OverwriteCheck(Prompter& prompter) : prompter_(prompter) {}
  // source may be empty; destination is a full path. Both empty resets the mode. With
  // writtenEarlier the destination counts as existing even before it is on the disk: a run that
  // decides for all its files first writes it for an earlier item.
  OverwriteDecision operator()(const std::filesystem::path& source,
                               const std::filesystem::path& destination,
                               bool writtenEarlier = false);
  void reset() { mode_ = OverwriteAnswer::Overwrite; }
  OverwriteAnswer mode() const { return mode_; }

 private:
  Prompter& prompter_;
  OverwriteAnswer mode_ = OverwriteAnswer::Overwrite;
};

}  // namespace qm::batch
