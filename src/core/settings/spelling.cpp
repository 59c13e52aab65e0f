#include "core/settings/spelling.h"

#include <cctype>
#include <cmath>

namespace qm::settings {

std::string plainNumber(long long value) {
  return std::to_string(value);
}

std::string blankSigned(long long value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string trueFalse(bool value) {
  return value ? "True" : "False";
}

double lenientNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') sign = -1;
    ++i;
  }
  double value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    value = value * 10 + (text[i++] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      value += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  return sign * value;
}

long long lenientInteger(std::string_view text) {
  double value = lenientNumber(text);
  // Stored numbers are small; anything beyond the range is garbage and reads as 0.
  if (!(std::fabs(value) < 9e15)) return 0;
  return static_cast<long long>(std::trunc(value));
}

bool readFlag(std::string_view text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "true") return true;
  return lenientInteger(text) != 0;
}

std::string indexedKey(std::string_view name, long long index) {
  return std::string(name) + plainNumber(index);
}

std::string blankIndexedKey(std::string_view name, long long index) {
  return std::string(name) + blankSigned(index);
}

}  // namespace qm::settings
