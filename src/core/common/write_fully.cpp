#include "core/common/write_fully.h"

#include <unistd.h>

#include <cerrno>

namespace qm {

int writeFully(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    // A regular file or pipe never takes nothing for something; a device might.
    if (n == 0) return EIO;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace qm
