#pragma once
// Truevision TGA pictures as paint programs write them: true colour (15/16, 24, 32 bits),
// grey (8 bits) and colour-mapped (8-bit indices into 15/16, 24 or 32-bit colours), each
// uncompressed or run-length encoded, either row order.

#include <string>

#include "core/common/byte_view.h"
#include "core/common/outcome.h"
#include "core/host/image.h"

namespace qm::host {

inline constexpr std::string_view kTgaVariantRefused = "cannot read this TGA variant";

// True when bytes start like a TGA header of a kind decodeTga knows (TGA has no signature).
bool looksLikeTga(ByteView bytes);

// The picture, or why not: kTgaVariantRefused and what the header says, or where it ends
// early. maxPixels bounds the memory a hostile header can ask for.
Outcome<Image, std::string> decodeTga(ByteView bytes, std::uint64_t maxPixels);

}  // namespace qm::host
