// The scan reads big Premiere files from disk in chunks; whatever the chunk edges cut, the
// result must be the one the in-memory reader gives.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/plugins/read_comprm.h"
#include "support/premiere_records.h"

namespace qm::plugins {
namespace {

namespace fs = std::filesystem;

TEST(ReadComprmFromDisk, RecordsAcrossChunkEdgesReadAsInMemory) {
  const fs::path dir = fs::temp_directory_path() / "qm-comprm-disk";
  fs::create_directories(dir);
  std::mt19937 random(7);
  int found = 0;
  // Offsets 2 mod 4 just before, on and after the 64 KiB edges, and deep into the file.
  for (std::size_t record :
       {65530u, 65534u, 65538u, 131066u, 131070u, 196602u, 262142u, 300002u, 390002u}) {
    std::string bytes(400000, '\0');
    for (auto& b : bytes) b = static_cast<char>(random() % 200 + 20);  // no tag letters' runs
    test::placeAt(bytes, record, test::vfltRecord("Ripple", record % 8 == 2));
    const fs::path file = dir / ("r" + std::to_string(record) + ".prm");
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    PrmResult fromDisk = ReadComprm(file);
    PrmResult inMemory = ReadComprmBytes(
        ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(fromDisk.ok, inMemory.ok) << record;
    EXPECT_EQ(fromDisk.filter.category, inMemory.filter.category) << record;
    EXPECT_EQ(fromDisk.filter.title, inMemory.filter.title) << record;
    EXPECT_EQ(fromDisk.filter.position, inMemory.filter.position) << record;
    found += inMemory.ok ? 1 : 0;
  }
  fs::remove_all(dir);
  EXPECT_GT(found, 0) << "no placement fell into a searched window";
}

}  // namespace
}  // namespace qm::plugins
