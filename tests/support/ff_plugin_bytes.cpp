#include "ff_plugin_bytes.h"

#include <gtest/gtest.h>

namespace qm::test {

namespace {

struct Windows {
  std::size_t size;
  long d;
  std::size_t signature;
  std::size_t title;     // 0: the data block's title serves
  std::size_t category;  // 0: the data block's category serves
};

constexpr Windows kWindows[] = {
    {49152, -7168, 21024, 23843, 23895}, {49664, -4668, 21024, 34927, 34979},
    {50176, -7168, 21024, 23843, 23895}, {53760, -576, 27696, 30351, 30403},
    {57344, 0, 28208, 31011, 31063},
};

void putByte(std::string& bytes, std::size_t offset, std::uint8_t value) {
  ASSERT_LT(offset, bytes.size());
  bytes[offset] = static_cast<char>(value);
}

void putPrefixed(std::string& bytes, std::size_t lengthByte, std::string_view text) {
  putByte(bytes, lengthByte, static_cast<std::uint8_t>(text.size()));
  putText(bytes, lengthByte + 1, text);
}

// The C-string data block shared by the Windows and Premiere plugins. order maps file slot k
// to the record's formula index.
void putBlock(std::string& bytes, std::size_t v, const std::array<std::string, 8>& controls,
              const std::array<std::uint8_t, 8>& values, const std::array<std::string, 4>& maps,
              const std::array<std::string, 4>& formulas, const std::array<int, 4>& order,
              const std::array<bool, 8>& hideControl, const std::array<bool, 4>& hideMap) {
  for (std::size_t i = 0; i < 8; ++i) {
    putByte(bytes, v + 4 * i, values[i]);
    if (controls[i].empty()) continue;
    putByte(bytes, v + 64 + 4 * i, hideControl[i] ? 0 : 1);
    putText(bytes, v + 2144 + 256 * i, controls[i]);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (maps[i].empty()) continue;
    putByte(bytes, v + 48 + 4 * i, hideMap[i] ? 0 : 1);
    putText(bytes, v + 1120 + 256 * i, maps[i]);
  }
  for (std::size_t k = 0; k < 4; ++k)
    putText(bytes, v + 4192 + 1024 * k, formulas[static_cast<std::size_t>(order[k])]);
}

std::string macBytes(std::size_t size, const FFPluginFields& f, std::string_view signature) {
  std::string bytes(size, '\0');
  putText(bytes, 59017, signature);
  putPrefixed(bytes, 49852, f.title);
  putPrefixed(bytes, 50124, f.category);
  putPrefixed(bytes, 51176, f.copyright);
  putPrefixed(bytes, 51432, f.author);
  for (std::size_t i = 0; i < 8; ++i) {
    putByte(bytes, 50571 + 4 * i, f.sliderValues[i]);
    if (f.controlNames[i].empty()) continue;
    putByte(bytes, 50635 + 4 * i, f.hideControl[i] ? 0 : 1);
    putPrefixed(bytes, 52712 + 256 * i, f.controlNames[i]);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (f.mapNames[i].empty()) continue;
    putByte(bytes, 50619 + 4 * i, f.hideMap[i] ? 0 : 1);
    putPrefixed(bytes, 51688 + 256 * i, f.mapNames[i]);
  }
  for (std::size_t k = 0; k < 4; ++k) putText(bytes, 54760 + 1024 * k, f.formulas[k]);
  return bytes;
}

}  // namespace

void putText(std::string& bytes, std::size_t offset, std::string_view text) {
  ASSERT_LE(offset + text.size() + 1, bytes.size());
  bytes.replace(offset, text.size(), text);
  bytes[offset + text.size()] = '\0';
}

std::string ffPluginBytes(std::size_t size, const FFPluginFields& f,
                          std::optional<std::string_view> given) {
  if (size == 99712 || size == 99840) return macBytes(size, f, given.value_or("Factory"));
  std::string_view signature = given.value_or("Filter Factory");
  std::string bytes(size, '\0');
  const Windows* w = nullptr;
  for (const auto& candidate : kWindows)
    if (candidate.size == size) w = &candidate;
  if (!w) return bytes;
  putText(bytes, w->signature, signature);
  long d = w->d;
  bool blank = signature == " FilterFactory" && (size == 49152 || size == 50176);
  if (blank) d = -5096;
  const std::size_t v = static_cast<std::size_t>(d + 31260);
  putText(bytes, v + 96, f.category);
  putText(bytes, v + 352, f.title);
  putText(bytes, v + 608, f.copyright);
  putText(bytes, v + 864, f.author);
  if (!blank) {
    putPrefixed(bytes, w->title - 1, f.title);
    putPrefixed(bytes, w->category - 1, f.category);
  }
  putBlock(bytes, v, f.controlNames, f.sliderValues, f.mapNames, f.formulas, {0, 1, 2, 3},
           f.hideControl, f.hideMap);
  return bytes;
}

std::string premiereFFBytes(std::size_t size, long e, const PremiereFields& f) {
  std::string bytes(size, '\0');
  switch (e) {
    case -4:
    case -8:
      putByte(bytes, 29020, 'D');
      putByte(bytes, 28876, e == -4 ? 'v' : 'r');
      break;
    case 504:
      putByte(bytes, 29020, 'e');
      break;
    case 3064:
    case 3072:
      putByte(bytes, 29020, 202);
      putByte(bytes, 32030, e == 3064 ? 'r' : 'c');
      break;
    default:
      putByte(bytes, 29020, '5');
  }
  putText(bytes, e == -4 ? 29098 : static_cast<std::size_t>(e + 29106), f.menuName);
  const std::size_t v = static_cast<std::size_t>(e + 29372);
  putText(bytes, v + 352, f.copyright);
  putBlock(bytes, v, f.controlNames, f.sliderValues, f.mapNames, f.formulas, {2, 1, 0, 3}, {}, {});
  return bytes;
}

std::string transitionBytes(std::size_t size, long f, const PremiereFields& fields,
                            std::string_view signature) {
  std::string bytes(size, '\0');
  switch (f) {
    case 9904:
      putByte(bytes, 29080, 'n');
      putText(bytes, 22032, signature);
      break;
    case 520:
      putByte(bytes, 29080, 'n');
      putByte(bytes, 22032, 139);
      break;
    case 3076:
      putByte(bytes, 29080, 'o');
      putText(bytes, 25104, signature);
      break;
    default:
      putByte(bytes, 29080, '2');
      putText(bytes, 21520, signature);
  }
  putText(bytes, static_cast<std::size_t>(f + 29170), fields.menuName);
  long blockF = f == 9904 ? f + 8 : f == 520 ? f + 4 : f;
  const std::size_t v = static_cast<std::size_t>(blockF + 29704);
  putText(bytes, v + 352, fields.copyright);
  putBlock(bytes, v, fields.controlNames, fields.sliderValues, fields.mapNames, fields.formulas,
           {2, 1, 0, 3}, {}, {});
  return bytes;
}

}  // namespace qm::test
