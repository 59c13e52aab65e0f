// The plugin host's answer lines: whatever a crashed or hostile host process writes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/plughost/answer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto answer =
      qm::plughost::parseAnswer(std::string_view(reinterpret_cast<const char*>(data), size));
  if (answer.kind == qm::plughost::Answer::Kind::Progress &&
      (answer.percent < 0 || answer.percent > 100))
    __builtin_trap();
  return 0;
}
