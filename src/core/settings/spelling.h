#pragma once
// How numbers and flags are spelt in the settings store. Each key always uses one spelling:
// plain ("1"), blank-signed (" 1", the sign position kept free) or the words "True"/"False".

#include <string>
#include <string_view>

namespace qm::settings {

std::string plainNumber(long long value);
std::string blankSigned(long long value);
std::string trueFalse(bool value);

// Lenient parse: leading blanks skipped, stops at the first character that cannot continue a
// number, empty or garbage gives 0. Accepts a sign and a decimal fraction.
double lenientNumber(std::string_view text);
long long lenientInteger(std::string_view text);
// A flag stored in any spelling: "True", "1", " 1", "-1" (any case) read as set.
bool readFlag(std::string_view text);

// Keys with an index: "Folder" + 1 -> "Folder1"; blank-signed ones: "AutoAdd" + 0 -> "AutoAdd 0".
std::string indexedKey(std::string_view name, long long index);
std::string blankIndexedKey(std::string_view name, long long index);

}  // namespace qm::settings
