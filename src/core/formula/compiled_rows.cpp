#include "core/formula/compiled_rows.h"

#include <array>
#include <cstring>
#include <limits>

namespace qm::formula::compiled {

bool fitsKernel(const ImageView& in, const MutableImageView& out) {
  if (in.pixelStride != 4 || out.pixelStride != 4 || in.rowStride < 4 * in.width) return false;
  const std::int64_t lastByte =
      static_cast<std::int64_t>(in.height - 1) * in.rowStride + 4 * std::int64_t{in.width};
  return lastByte <= std::numeric_limits<std::int32_t>::max();
}

RowRunner::RowRunner(const Kernel& kernel, const Program& program, const ImageView& in,
                     const MutableImageView& out)
    : kernel_(kernel), in_(in), out_(out), frame_(kernel.newFrame(in.rowStride)) {
  args_.image = in.data;
  args_.frame = frame_.data();
  args_.view = &in_;
  args_.sliders = program.sliders.data();
}

void RowRunner::operator()(int y) {
  const int full = in_.width / kLanes;
  args_.y = y;
  if (full > 0) {
    args_.in = in_.pixel(0, y);
    args_.out = out_.pixel(0, y);
    args_.x = 0;
    args_.groups = full;
    kernel_.run(args_);
  }
  const int rest = in_.width - full * kLanes;
  if (rest == 0) return;
  // The lanes past the edge compute on zero pixels and are thrown away.
  const int x = full * kLanes;
  std::array<std::uint8_t, kLanes * 4> in{}, out{};
  std::memcpy(in.data(), in_.pixel(x, y), static_cast<std::size_t>(rest) * 4);
  args_.in = in.data();
  args_.out = out.data();
  args_.x = x;
  args_.groups = 1;
  kernel_.run(args_);
  std::memcpy(out_.pixel(x, y), out.data(), static_cast<std::size_t>(rest) * 4);
}

}  // namespace qm::formula::compiled
