#pragma once
// What the user reads when a Windows plugin cannot run or stops.

#include <string>
#include <string_view>

namespace qm::plughost {

inline constexpr std::string_view kNeedsWineText =
    "Windows plugins need Wine to run (Debian package wine64).";
inline constexpr std::string_view kNo32BitText = "32-bit Windows plugins cannot run on this system";
inline constexpr std::string_view kPreparingText = "Preparing Wine for Windows plugins\u2026";
inline constexpr std::string_view kNoHostText =
    "The Windows plugin host (qm-plughost.exe) is not installed with this program.";

// "PLUGIN: the plugin stopped with an error (CODE: text)"; code as the host reported it (a
// result code, or an exception code 0x...), text from the plugin when it gave one.
std::string stoppedWithErrorText(std::string_view plugin, std::string_view code,
                                 std::string_view pluginText);
// "PLUGIN: did not answer in N s and was stopped"
std::string didNotAnswerText(std::string_view plugin, long seconds);
// "PLUGIN: cannot be loaded: why"
std::string cannotLoadText(std::string_view plugin, std::string_view why);
// What a result or exception code means, for codes the plugin gave no text for.
std::string codeMeaning(std::string_view code);

}  // namespace qm::plughost
