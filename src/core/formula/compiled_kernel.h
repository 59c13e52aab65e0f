#pragma once
// The compiled tier: a program turned into x86-64 machine code that computes eight pixels per
// AVX2 instruction, with the values kept in vector registers as long as they fit. The code
// gives the same bytes as the reference interpreter; programs whose pixels depend on each
// other are not compiled.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/formula/image_view.h"
#include "core/formula/program.h"

namespace qm::formula::compiled {

inline constexpr int kLanes = 8;

// What one call of the kernel works on: `groups` runs of kLanes pixels of row y from x on.
struct KernelArgs {
  const std::uint8_t* in = nullptr;     // input pixel (x, y), 4 bytes a pixel
  std::uint8_t* out = nullptr;          // output pixel (x, y), 4 bytes a pixel
  const std::uint8_t* image = nullptr;  // input pixel (0, 0)
  std::int32_t* frame = nullptr;        // the calling thread's frame (Kernel::newFrame)
  const ImageView* view = nullptr;
  const std::uint8_t* sliders = nullptr;
  std::int64_t groups = 0;  // at least 1
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// True when this machine runs the compiled tier's code.
bool machineSupported();

class Kernel {
 public:
  // Null when the machine cannot run it or the program's pixels depend on each other.
  static std::unique_ptr<Kernel> build(const Program& program);
  ~Kernel();
  Kernel(const Kernel&) = delete;
  Kernel& operator=(const Kernel&) = delete;

  // Working memory for one thread, for a picture with this row stride in bytes.
  std::vector<std::int32_t> newFrame(std::ptrdiff_t rowStride) const;
  void run(const KernelArgs& args) const { entry_(&args); }

  struct Parts;

 private:
  explicit Kernel(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
  void (*entry_)(const KernelArgs*) = nullptr;
};

}  // namespace qm::formula::compiled
