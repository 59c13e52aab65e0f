#include "core/plughost/texts.h"

#include <charconv>

namespace qm::plughost {

std::string codeMeaning(std::string_view code) {
  static constexpr struct {
    std::string_view code, meaning;
  } kKnown[] = {
      {"-108", "not enough memory"},
      {"-50", "a bad parameter"},
      {"-30100", "bad parameters"},
      {"-30101", "the plugin cannot filter this kind of picture"},
      {"-30900", "the plugin needs a service this host does not offer"},
      {"-30904", "the plugin gave no reason"},
      {"0xC0000005", "the plugin crashed: access violation"},
      {"0xC0000094", "the plugin crashed: division by zero"},
      {"0xC00000FD", "the plugin crashed: stack overflow"},
      {"0xC000001D", "the plugin crashed: illegal instruction"},
      {"0x80000003", "the plugin crashed: breakpoint"},
      {"exit", "the host process ended without an answer"},
  };
  for (const auto& k : kKnown)
    if (k.code == code) return std::string(k.meaning);
  if (code.starts_with("0x")) return "the plugin crashed";
  int value = 0;
  auto [end, ec] = std::from_chars(code.data(), code.data() + code.size(), value);
  if (ec == std::errc() && end == code.data() + code.size() && value > 0)
    return "the plugin reported it itself";
  return "an error the plugin did not explain";
}

std::string stoppedWithErrorText(std::string_view plugin, std::string_view code,
                                 std::string_view pluginText) {
  const std::string meaning = pluginText.empty() ? codeMeaning(code) : std::string(pluginText);
  return std::string(plugin) + ": the plugin stopped with an error (" + std::string(code) + ": " +
         meaning + ")";
}

std::string didNotAnswerText(std::string_view plugin, long seconds) {
  return std::string(plugin) + ": did not answer in " + std::to_string(seconds) +
         " s and was stopped";
}

std::string cannotLoadText(std::string_view plugin, std::string_view why) {
  return std::string(plugin) + ": cannot be loaded: " + std::string(why);
}

}  // namespace qm::plughost
