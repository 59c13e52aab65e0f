#include "core/plughost/runs_where.h"

#include <charconv>
#include <system_error>

#include "core/plughost/texts.h"
#include "core/plugins/file_bytes.h"
#include "core/plugins/pe_header.h"
#include "core/plugins/read_com8bf.h"

namespace qm::plughost {

namespace fs = std::filesystem;

const char* runnerName(Runner runner) {
  switch (runner) {
    case Runner::Engine:
      return "engine";
    case Runner::Wine:
      return "wine";
    case Runner::No:
      break;
  }
  return "no";
}

RunsWhere runsWhere(const fs::path& file, bool isFilterFactory,
                    const std::optional<WineTools>& wine) {
  if (isFilterFactory)
    return {Runner::Engine, "a Filter Factory filter: the formula engine runs it"};
  auto bytes = plugins::FileBytes::open(file);
  const auto arch = bytes ? plugins::peArchitecture(*bytes) : std::nullopt;
  if (!arch) return {Runner::No, "not a Windows plugin"};
  if (!plugins::readResourceFilters(*bytes).ok)
    return {Runner::No, "a Windows file without a filter description (PiPL)"};
  const bool x86 = *arch == "x86";
  if (*arch != "x64" && !x86)
    return {Runner::No, "a plugin for " + *arch + " processors", false, true};
  if (!wine) return {Runner::No, std::string(kNeedsWineText), x86, true};
  if (x86 && wine->wine32.empty()) return {Runner::No, std::string(kNo32BitText), x86, true};
  return {Runner::Wine,
          std::string(x86 ? "a 32-bit" : "a 64-bit") +
              " Windows filter: our plugin host runs it under Wine",
          x86, true};
}

std::optional<FilterReference> splitFilterReference(const std::string& argument) {
  std::error_code ec;
  const auto hash = argument.rfind('#');
  if (hash == std::string::npos || fs::exists(argument, ec)) return FilterReference{argument, 1};
  int n = 0;
  const char* first = argument.data() + hash + 1;
  const char* last = argument.data() + argument.size();
  auto [end, err] = std::from_chars(first, last, n);
  if (err != std::errc() || end != last || n < 1) return std::nullopt;
  return FilterReference{argument.substr(0, hash), n};
}

}  // namespace qm::plughost
