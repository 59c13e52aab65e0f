#pragma once
// write() until every byte is out: a pipe or a busy disk may take fewer bytes per call, and a
// signal may interrupt one.

#include <cstddef>

namespace qm {

// 0 when all size bytes were written, else the errno of the failed call.
int writeFully(int fd, const void* data, std::size_t size);

}  // namespace qm
