#pragma once
// The host process's answer lines (see plughost/wire.h), read without trusting them.

#include <string>
#include <string_view>

namespace qm::plughost {

struct Answer {
  enum class Kind { Progress, Dialog, DialogEnd, Done, Cancelled, Error, Unknown };
  Kind kind = Kind::Unknown;
  int percent = 0;   // Progress: 0..100
  std::string code;  // Error: result code, exception code or "load"
  std::string text;  // Error: the plugin's or the host's words, possibly empty
};

Answer parseAnswer(std::string_view line);

}  // namespace qm::plughost
