#include "core/host/picture_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace qm::host {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Smaller buffers (previews, thumbnails) are not worth a mapping of their own.
bool mappedAlone(std::size_t bytes) {
  return bytes >= kHugePage;
}

std::size_t wholePages(std::size_t bytes) {
  static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

}  // namespace

void* allocatePictureMemory(std::size_t bytes) {
  if (!mappedAlone(bytes)) return ::operator new(bytes);
  // Mapped with room to spare, then cut to a start on a huge-page boundary, so the kernel can
  // back every whole 2 MB of it with one page.
  const std::size_t length = wholePages(bytes);
  void* mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto* start = static_cast<std::uint8_t*>(mapped);
  auto* aligned = reinterpret_cast<std::uint8_t*>(
      (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1));
  if (aligned > start) ::munmap(start, static_cast<std::size_t>(aligned - start));
  const std::size_t tail = static_cast<std::size_t>(start + length + kHugePage - aligned) - length;
  if (tail > 0) ::munmap(aligned + length, tail);
  ::madvise(aligned, length, MADV_HUGEPAGE);  // a hint; without it the buffer still works
  return aligned;
}

void releasePictureMemory(void* memory, std::size_t bytes) noexcept {
  if (!memory) return;
  if (!mappedAlone(bytes)) {
    ::operator delete(memory);
    return;
  }
  ::munmap(memory, wholePages(bytes));
}

}  // namespace qm::host
