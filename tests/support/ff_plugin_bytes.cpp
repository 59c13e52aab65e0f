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
    {57344, 0, 28208, 31011, 31063},     {69632, 12288, 40496, 43299, 43351},
};

void putByte(std::string& bytes, std::size_t offset, std::uint8_t value) {
  ASSERT_LT(offset, bytes.size());
  bytes[offset] = static_cast<char>(value);
}

void putPrefixed(std::string& bytes, std::size_t lengthByte, std::string_view text) {
  putByte(bytes, lengthByte, static_cast<std::uint8_t>(text.size()));
  putText(bytes, lengthByte + 1, text);
}

// The data block of slider values, used flags, names and formulas starting at v, shared by
// every plugin. The Macintosh one has its names' length bytes and its formulas three bytes
// before the Windows places. order maps file slot k to the record's formula index.
void putBlock(std::string& bytes, std::size_t v, bool mac,
              const std::array<std::string, 8>& controls, const std::array<std::uint8_t, 8>& values,
              const std::array<std::string, 4>& maps, const std::array<std::string, 4>& formulas,
              const std::array<int, 4>& order, const std::array<bool, 8>& hideControl = {},
              const std::array<bool, 4>& hideMap = {}) {
  auto putName = [&](std::size_t at, std::string_view name) {
    mac ? putPrefixed(bytes, at - 3, name) : putText(bytes, at, name);
  };
  for (std::size_t i = 0; i < 8; ++i) {
    putByte(bytes, v + 4 * i, values[i]);
    if (controls[i].empty()) continue;
    putByte(bytes, v + 64 + 4 * i, hideControl[i] ? 0 : 1);
    putName(v + 2144 + 256 * i, controls[i]);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (maps[i].empty()) continue;
    putByte(bytes, v + 48 + 4 * i, hideMap[i] ? 0 : 1);
    putName(v + 1120 + 256 * i, maps[i]);
  }
  for (std::size_t k = 0; k < 4; ++k)
    putText(bytes, v + 4192 + 1024 * k - (mac ? 3 : 0),
            formulas[static_cast<std::size_t>(order[k])]);
}

}  // namespace

void putText(std::string& bytes, std::size_t offset, std::string_view text) {
  ASSERT_LE(offset + text.size() + 1, bytes.size());
  bytes.replace(offset, text.size(), text);
  bytes[offset + text.size()] = '\0';
}

std::string ffPluginBytes(std::size_t size, const FFPluginFields& f,
                          std::optional<std::string_view> given) {
  std::string bytes(size, '\0');
  if (size == 99712 || size == 99840) {
    putText(bytes, 59017, given.value_or("Factory"));
    putPrefixed(bytes, 49852, f.title);
    putPrefixed(bytes, 50124, f.category);
    putPrefixed(bytes, 51176, f.copyright);
    putPrefixed(bytes, 51432, f.author);
    putBlock(bytes, 50571, true, f.controlNames, f.sliderValues, f.mapNames, f.formulas,
             {0, 1, 2, 3}, f.hideControl, f.hideMap);
    return bytes;
  }
  std::string_view signature = given.value_or("Filter Factory");
  const Windows* w = nullptr;
  for (const auto& candidate : kWindows)
    if (candidate.size == size) w = &candidate;
  if (!w) return bytes;
  putText(bytes, w->signature, signature);
  // A blank signature in the 3.04 sizes moves the block and leaves out the menu fields.
  const bool blank = signature == " FilterFactory" && (size == 49152 || size == 50176);
  const std::size_t v = static_cast<std::size_t>((blank ? -5096 : w->d) + 31260);
  putText(bytes, v + 96, f.category);
  putText(bytes, v + 352, f.title);
  putText(bytes, v + 608, f.copyright);
  putText(bytes, v + 864, f.author);
  if (!blank) {
    putPrefixed(bytes, w->title - 1, f.title);
    putPrefixed(bytes, w->category - 1, f.category);
  }
  putBlock(bytes, v, false, f.controlNames, f.sliderValues, f.mapNames, f.formulas, {0, 1, 2, 3},
           f.hideControl, f.hideMap);
  return bytes;
}

std::string premiereFFBytes(std::size_t size, long e, const PremiereFields& f) {
  std::string bytes(size, '\0');
  // The marker at 29020, and where another byte tells apart the variants sharing it.
  const struct {
    long e;
    std::uint8_t marker;
    std::size_t at;
    char byte;
  } markers[] = {{-4, 'D', 28876, 'v'},   {-8, 'D', 28876, 'r'},   {504, 'e', 0, 0},
                 {3064, 202, 32030, 'r'}, {3072, 202, 32030, 'c'}, {0, '5', 0, 0}};
  for (const auto& m : markers) {
    if (m.e != e) continue;
    putByte(bytes, 29020, m.marker);
    if (m.at) putByte(bytes, m.at, m.byte);
  }
  putText(bytes, e == -4 ? 29098 : static_cast<std::size_t>(e + 29106), f.menuName);
  const std::size_t v = static_cast<std::size_t>(e + 29372);
  putText(bytes, v + 352, f.copyright);
  putBlock(bytes, v, false, f.controlNames, f.sliderValues, f.mapNames, f.formulas, {2, 1, 0, 3});
  return bytes;
}

std::string transitionBytes(std::size_t size, long f, const PremiereFields& fields,
                            std::string_view signature) {
  std::string bytes(size, '\0');
  // The marker at 29080, where the signature goes and the block's own offset.
  const struct {
    long f;
    char marker;
    std::size_t signatureAt;
    long block;
  } markers[] = {
      {9904, 'n', 22032, 9912}, {520, 'n', 0, 524}, {3076, 'o', 25104, 3076}, {0, '2', 21520, 0}};
  long block = f;
  for (const auto& m : markers) {
    if (m.f != f) continue;
    putByte(bytes, 29080, m.marker);
    m.signatureAt ? putText(bytes, m.signatureAt, signature) : putByte(bytes, 22032, 139);
    block = m.block;
  }
  putText(bytes, static_cast<std::size_t>(f + 29170), fields.menuName);
  const std::size_t v = static_cast<std::size_t>(block + 29704);
  putText(bytes, v + 352, fields.copyright);
  putBlock(bytes, v, false, fields.controlNames, fields.sliderValues, fields.mapNames,
           fields.formulas, {2, 1, 0, 3});
  return bytes;
}

}  // namespace qm::test
