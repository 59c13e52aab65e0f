#pragma once
// The few header facts the plugin readers take from a PE file.

#include <cstdint>
#include <optional>
#include <string>

#include "core/plugins/file_bytes.h"

namespace qm::plugins {

// The ".rsrc" section header as the readers find it: the four bytes "rsrc" searched at
// offsets 373, 377, ... within 1000 bytes; each field taken as its low 24 bits.
struct ResourceSection {
  std::uint32_t virtualAddress = 0;
  std::uint32_t sizeOfRawData = 0;
  std::uint32_t pointerToRawData = 0;
};

std::optional<ResourceSection> findResourceSection(FileBytes& file);

// "x86", "x64", "arm64", "arm", "ia64", ... or "0x...." for another machine; nullopt when
// the file is no PE image.
std::optional<std::string> peArchitecture(FileBytes& file);

// True when a section of the PE image holds code or is executable; false for a resource-only
// image (the templates of older Quillmark builds) and for files that are no PE image.
bool peHoldsCode(FileBytes& file);

}  // namespace qm::plugins
