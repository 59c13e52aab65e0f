#pragma once
// Runs a compiled kernel over whole rows: full runs of eight pixels straight from the picture,
// the last few pixels of a row through a small padded copy.

#include <cstdint>
#include <vector>

#include "core/formula/compiled_kernel.h"
#include "core/formula/image_view.h"
#include "core/formula/program.h"

namespace qm::formula::compiled {

// The kernel reads pixels as 32-bit words at 32-bit offsets from the picture's start.
bool fitsKernel(const ImageView& in, const MutableImageView& out);

class RowRunner {
 public:
  RowRunner(const Kernel& kernel, const Program& program, const ImageView& in,
            const MutableImageView& out);
  // args_ points into this runner's own frame: one runner per thread, never copied.
  RowRunner(const RowRunner&) = delete;
  RowRunner& operator=(const RowRunner&) = delete;
  void operator()(int y);

 private:
  const Kernel& kernel_;
  ImageView in_;
  MutableImageView out_;
  std::vector<std::int32_t> frame_;
  KernelArgs args_;
};

}  // namespace qm::formula::compiled
