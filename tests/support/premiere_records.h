#pragma once
// Premiere 4.2 filter, audio and transition records as the Premiere reader searches for
// them, and a helper to place bytes into a file image.

#include <cstddef>
#include <string>
#include <string_view>

namespace qm::test {

// "VFlt" stored little-endian, four header bytes, then the name: at +16 when nameAt16 (the
// byte at +8 is then 2), else at +8.
std::string vfltRecord(std::string_view name, bool nameAt16);
// "AFlt", four header bytes, the name at +8.
std::string afltRecord(std::string_view name);
// "SPFX", four header bytes, the first name at +8, zero bytes, then the further names.
std::string spfxRecord(std::string_view first, std::string_view zeros, std::string_view second);

// Overwrites image at offset with bytes, growing it when needed.
void placeAt(std::string& image, std::size_t offset, std::string_view bytes);

}  // namespace qm::test
