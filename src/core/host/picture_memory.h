#pragma once
// Memory for decoded and filtered pictures. A buffer of some megabytes comes straight from the
// system, on huge pages where it offers them: first touching a fresh 64 MB buffer one small
// page at a time costs more than filtering it. A buffer that grows leaves its new bytes unset,
// since whoever asks for picture memory fills it.

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace qm::host {

void* allocatePictureMemory(std::size_t bytes);
void releasePictureMemory(void* memory, std::size_t bytes) noexcept;

template <class T>
struct PictureAllocator {
  using value_type = T;
  PictureAllocator() = default;
  template <class U>
  PictureAllocator(const PictureAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) { return static_cast<T*>(allocatePictureMemory(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { releasePictureMemory(p, n * sizeof(T)); }
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;  // unset, not zeroed
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <class U>
  bool operator==(const PictureAllocator<U>&) const noexcept {
    return true;
  }
};

using PixelBytes = std::vector<std::uint8_t, PictureAllocator<std::uint8_t>>;

}  // namespace qm::host
