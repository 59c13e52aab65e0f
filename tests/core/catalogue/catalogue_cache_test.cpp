#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "core/catalogue/catalogue_store.h"
#include "core/catalogue/duplicates.h"
#include "core/catalogue/search.h"
#include "support/ff_sources.h"
#include "support/pe_builder.h"
#include "support/temp_folder.h"

namespace qm::catalogue {
namespace {

namespace fs = std::filesystem;

class CatalogueCache : public ::testing::Test {
 protected:
  void SetUp() override {
    put("a.8bf", "Blur", "Soft");
    put("b.8bf", "Noise", "Grain");
    put("sub/c.8bf", "Other", "Deep");
  }
  void put(const std::string& name, const std::string& category, const std::string& title) {
    test::writeFile(dir / name, test::piplPlugin({{category, title}}));
  }
  // category|title of every row of a scan through the cache.
  std::vector<std::string> scan(CatalogueStore* store, bool recursive = true,
                                bool sources = false) {
    plugins::Catalogue catalogue;
    plugins::ScanOptions options;
    options.recursive = recursive;
    options.includeSources = sources;
    SilentProgress quiet;
    catalogue.scan(dir.path(), options, {}, {}, quiet, store);
    std::vector<std::string> rows;
    for (const auto& r : catalogue.rows()) rows.push_back(r.category + "|" + r.title);
    return rows;
  }
  fs::path storeFile() const { return cacheDir / "Quillmark" / "catalogue.sqlite"; }

  test::TempFolder dir;
  test::TempFolder cacheDir;
};

TEST_F(CatalogueCache, UnchangedFilesAreNotReadAgainChangedNewAndRemovedOnesAre) {
  auto store = CatalogueStore::open(storeFile());
  ASSERT_TRUE(store);
  EXPECT_FALSE(store->rebuilt());
  const std::vector<std::string> first = {"Blur|Soft", "Noise|Grain", "Other|Deep"};
  EXPECT_EQ(scan(store.get()), first);

  // Same size and time: the stored rows come back, the new bytes are not read.
  const fs::path a = dir / "a.8bf";
  const auto time = fs::last_write_time(a);
  put("a.8bf", "Blur", "Hard");
  fs::last_write_time(a, time);
  EXPECT_EQ(scan(store.get()), first);
  // Another time: read again.
  fs::last_write_time(a, time + std::chrono::seconds(5));
  EXPECT_EQ(scan(store.get())[0], "Blur|Hard");
  // Another size, same time: read again.
  const auto time2 = fs::last_write_time(dir / "b.8bf");
  put("b.8bf", "Noise", "Grain with a much longer title");
  fs::last_write_time(dir / "b.8bf", time2);
  EXPECT_EQ(scan(store.get())[1], "Noise|Grain with a much longer title");

  // A new file is read; a removed one is forgotten by the store too.
  put("d.8bf", "Sharpen", "Edge");
  fs::remove(dir / "b.8bf");
  const std::vector<std::string> after = {"Blur|Hard", "Sharpen|Edge", "Other|Deep"};
  EXPECT_EQ(scan(store.get()), after);
  auto stored = store->rowsUnder(dir.path(), true);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->size(), 3u);
  for (const auto& r : *stored) EXPECT_NE(r.title, "Grain with a much longer title");
  // A folder never scanned is not known; a sub folder is known through its parent.
  EXPECT_FALSE(store->rowsUnder(cacheDir.path(), true));
  ASSERT_TRUE(store->rowsUnder(dir / "sub", false));
  EXPECT_EQ(store->rowsUnder(dir / "sub", false)->front().title, "Deep");

  // Clear Cache forgets everything; the same store fills again, every folder anew.
  store->clear();
  EXPECT_FALSE(store->rowsUnder(dir.path(), true));
  EXPECT_EQ(scan(store.get()), after);
  ASSERT_TRUE(store->rowsUnder(dir.path(), true));
  EXPECT_EQ(store->rowsUnder(dir.path(), true)->size(), 3u);
  EXPECT_EQ(store->rowsUnder(dir.path(), false)->size(), 2u);
  EXPECT_EQ(store->rowsUnder(dir / "sub", false)->size(), 1u);

  // What was stored outlives the store.
  store.reset();
  store = CatalogueStore::open(storeFile());
  EXPECT_FALSE(store->rebuilt());
  EXPECT_EQ(store->rowsUnder(dir.path(), true)->size(), 3u);
  store->clear();
  EXPECT_FALSE(store->rowsUnder(dir.path(), true));
}

TEST_F(CatalogueCache, SourcesAreReadAgainOnlyWhenTheirSizeOrTimeChanged) {
  struct Source {
    const char* name;
    std::string (*make)(const std::string& title);
  };
  const Source sources[] = {
      {"s.afs", [](const std::string& t) { return test::afsSource(t); }},
      {"t.txt", [](const std::string& t) { return test::txtSource(t, "t.txt"); }},
  };
  for (const auto& source : sources) {
    const fs::path file = dir / "src" / source.name;
    test::writeFile(file, source.make("Wave"));
    auto store = CatalogueStore::open(storeFile());
    auto titleRead = [&] {
      for (const auto& row : scan(store.get(), true, true))
        if (row.starts_with("Tests|")) return row;
      return std::string("none");
    };
    const std::string first = titleRead();
    EXPECT_NE(first.find("Wave"), std::string::npos) << source.name << ": " << first;
    // Same size and time: the stored row, not the new title.
    const auto time = fs::last_write_time(file);
    test::writeFile(file, source.make("Wind"));
    fs::last_write_time(file, time);
    EXPECT_EQ(titleRead(), first) << source.name;
    fs::last_write_time(file, time + std::chrono::seconds(3));
    EXPECT_NE(titleRead().find("Wind"), std::string::npos) << source.name;
    fs::remove(file);
    EXPECT_EQ(titleRead(), "none") << source.name;
  }
}

TEST_F(CatalogueCache, TwoProgramsFillingTheSameCacheAtOnceKeepIt) {
  // One store begins a scan; meanwhile another (a second window, quillmark-cli) stores a.8bf
  // and keeps it. The first then stores a.8bf as it read it.
  using Titles = std::vector<std::string>;
  auto rowsOf = [](const Titles& titles) {
    std::vector<plugins::CatalogueRow> rows(titles.size());
    for (std::size_t i = 0; i < titles.size(); ++i) rows[i].title = titles[i];
    return rows;
  };
  auto titlesOf = [](const std::optional<std::vector<plugins::CatalogueRow>>& rows) {
    Titles titles;
    if (!rows) return Titles{"not stored"};
    for (const auto& r : *rows) titles.push_back(r.title);
    return titles;
  };
  const plugins::FileStamp early{10, 1}, late{12, 2};
  struct Case {
    const char* what;
    Titles second, first;
    Titles atEarly, atLate;  // what the store gives for the stamps
  };
  const Case cases[] = {
      {"same rows", {"Grain"}, {"Grain"}, {"not stored"}, {"Grain"}},
      {"fewer rows", {"Grain", "Dust"}, {"Sand"}, {"not stored"}, {"not stored"}},
      {"no filter, then one", {}, {"Sand"}, {"not stored"}, {"not stored"}},
  };
  for (const auto& c : cases) {
    fs::remove(storeFile());
    auto first = CatalogueStore::open(storeFile());
    auto second = CatalogueStore::open(storeFile());
    first->scanBegins(dir.path(), false);
    first->folderListed(dir.path(), {"a.8bf"}, "*.8bf");
    second->scanBegins(dir.path(), false);
    second->folderListed(dir.path(), {"a.8bf"}, "*.8bf");
    second->store(dir.path(), "a.8bf", early, "key", rowsOf(c.second));
    second->finish();
    ASSERT_FALSE(first->mayHold(dir.path(), "a.8bf"));
    first->store(dir.path(), "a.8bf", late, "key", rowsOf(c.first));
    first->finish();
    first.reset();
    second.reset();

    auto store = CatalogueStore::open(storeFile());
    EXPECT_FALSE(store->rebuilt()) << c.what;
    store->scanBegins(dir.path(), false);
    EXPECT_EQ(titlesOf(store->rowsOf(dir.path(), "a.8bf", early, "key")), c.atEarly) << c.what;
    EXPECT_EQ(titlesOf(store->rowsOf(dir.path(), "a.8bf", late, "key")), c.atLate) << c.what;
    store->finish();
  }
}

TEST_F(CatalogueCache, ACacheAnotherProgramHoldsIsLeftAsItWas) {
  auto store = CatalogueStore::open(storeFile());
  auto stored = [&] {
    auto rows = store->rowsUnder(dir.path(), true);
    return rows ? rows->size() : 0;
  };
  scan(store.get());
  put("d.8bf", "Sharpen", "Edge");
  // Another program writes for longer than the store waits.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(storeFile().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(scan(store.get()).size(), 4u);
  EXPECT_EQ(stored(), 3u);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  // Nothing was lost or thrown away; the next scan stores the new file.
  EXPECT_EQ(scan(store.get()).size(), 4u);
  EXPECT_EQ(stored(), 4u);
  store.reset();

  // Nor is a cache another program holds while it is opened.
  ASSERT_EQ(sqlite3_open(storeFile().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_FALSE(CatalogueStore::open(storeFile()));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  store = CatalogueStore::open(storeFile());
  ASSERT_TRUE(store);
  EXPECT_FALSE(store->rebuilt());
  EXPECT_EQ(stored(), 4u);
}

TEST_F(CatalogueCache, DamagedOrForeignFilesAreMadeAnewNeverTrusted) {
  {
    auto store = CatalogueStore::open(storeFile());
    for (int i = 0; i < 40; ++i)
      put("many/" + std::to_string(i) + ".8bf", "Blur", std::to_string(i));
    scan(store.get());
  }
  const std::string good = test::readFile(storeFile());
  ASSERT_GT(good.size(), 4096u);
  struct Damage {
    const char* what;
    std::string bytes;
  };
  std::string garbled = good;
  for (std::size_t i = 100; i < garbled.size(); i += 7) garbled[i] = static_cast<char>(i * 31);
  std::string wrongId = good;
  wrongId[68] ^= 0x55;  // the header's application id
  // A cache of the first format: our id, every filter's row holding its folder's path.
  const fs::path older = cacheDir / "older.sqlite";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(older.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db,
               "PRAGMA application_id = 1364018004; PRAGMA user_version = 1; "
               "CREATE TABLE filters (folder BLOB NOT NULL, name BLOB NOT NULL, size INTEGER NOT "
               "NULL, modified INTEGER NOT NULL, reader TEXT NOT NULL, ordinal INTEGER NOT NULL, "
               "type TEXT, category BLOB, title TEXT, position INTEGER, room INTEGER, "
               "architecture TEXT, modes INTEGER, enable_info BLOB, PRIMARY KEY (folder, name, "
               "ordinal)) WITHOUT ROWID;",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  const Damage damages[] = {
      {"an older format", test::readFile(older)},
      {"truncated", good.substr(0, good.size() / 2)},
      {"garbled", garbled},
      {"another program's id", wrongId},
      {"no database", "name,size\nBlur,12\n"},
      {"header only", good.substr(0, 100)},
  };
  for (const auto& d : damages) {
    fs::remove(fs::path(storeFile().native() + "-wal"));
    fs::remove(fs::path(storeFile().native() + "-shm"));
    test::writeFile(storeFile(), d.bytes);
    auto store = CatalogueStore::open(storeFile());
    ASSERT_TRUE(store) << d.what;
    EXPECT_TRUE(store->rebuilt()) << d.what;
    EXPECT_FALSE(store->rowsUnder(dir.path(), true)) << d.what;
    EXPECT_EQ(scan(store.get()).size(), 43u) << d.what;
  }
  // A database of another program is not ours either.
  fs::remove(storeFile());
  fs::remove(fs::path(storeFile().native() + "-wal"));
  ASSERT_EQ(sqlite3_open(storeFile().c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('x');", nullptr,
               nullptr, nullptr);
  sqlite3_close(db);
  auto store = CatalogueStore::open(storeFile());
  ASSERT_TRUE(store);
  EXPECT_TRUE(store->rebuilt());
}

TEST_F(CatalogueCache, AFolderHoldsItsOwnFoldersButNotItsNamesakes) {
  // Names that sort right before, between and after "lib" and "lib/...".
  for (const char* folder : {"lib", "lib/a", "lib/a/deep", "lib-b", "lib0", "liba", "li"})
    put(std::string(folder) + "/f.8bf", "Blur", folder);
  auto store = CatalogueStore::open(storeFile());
  scan(store.get());
  struct Case {
    const char* folder;
    bool recursive;
    std::vector<std::string> titles;  // none: the folder is not known
  };
  const Case cases[] = {
      {"lib", true, {"lib", "lib/a", "lib/a/deep"}},
      {"lib", false, {"lib"}},
      {"lib/a", true, {"lib/a", "lib/a/deep"}},
      {"lib-b", true, {"lib-b"}},
      {"li", true, {"li"}},
      {"lib/b", true, {}},
  };
  for (const auto& c : cases) {
    auto rows = store->rowsUnder(dir / c.folder, c.recursive);
    std::vector<std::string> titles;
    if (rows)
      for (const auto& r : *rows) titles.push_back(r.title);
    EXPECT_EQ(titles, c.titles) << c.folder << (c.recursive ? " recursive" : "");
    EXPECT_EQ(rows.has_value(), !c.titles.empty()) << c.folder;
  }
}

TEST(CatalogueSearch, WordsAreFoldedAsTheListsSortAndAccentsSetAside) {
  struct Case {
    const char* query;
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {"blur", "Gaussian BLUR", true},
      {"ÄTZ", "ätzen", true},
      {"atz", "Ätzen", true},
      {"etude", "Étude in Grün", true},
      {"grun etu", "Étude in Grün", true},
      {"strasse", "Straße", true},
      {"oeuvre", "Œuvre", true},
      {"lodz", "Łódź", true},
      {"ΑΛΦΑ", "альфа", false},
      {"альфа", "АЛЬФА", true},
      {"blur sharp", "Blur", false},
      {"", "anything", true},
      {"  ", "anything", true},
      {"x", "", false},
  };
  for (const auto& c : cases) {
    std::vector<plugins::CatalogueRow> rows(1);
    rows[0].title = c.text;
    rows[0].path = "/plugins/file.8bf";
    EXPECT_EQ(SearchIndex(rows).find(c.query).size(), c.found ? 1u : 0u)
        << c.query << " in " << c.text;
  }
  // Category (Windows-1252 bytes) and file name count; a word does not span two fields.
  std::vector<plugins::CatalogueRow> rows(3);
  rows[0] = {"/p/Glow.8bf", "Caf\xE9", "Light", 0, 0, {}, {}, {}};
  rows[1] = {"/p/Über.8bf", "Other", "Tool", 0, 0, {}, {}, {}};
  rows[2] = {"/p/x.8bf", "Blur", "Soft", 0, 0, {}, {}, {}};
  const SearchIndex index(rows);
  EXPECT_EQ(index.find("cafe"), (std::vector<std::size_t>{0}));
  EXPECT_EQ(index.find("uber tool"), (std::vector<std::size_t>{1}));
  EXPECT_EQ(index.find("blursoft"), (std::vector<std::size_t>{}));
  EXPECT_EQ(index.find("8bf").size(), 3u);
}

TEST(CatalogueDuplicates, SameCategoryAndTitleGroupIdenticalBytesAreMarked) {
  test::TempFolder dir;
  const std::string glow = test::piplPlugin({{"Light", "Glow"}});
  test::writeFile(dir / "a/glow.8bf", glow);
  test::writeFile(dir / "b/glow copy.8bf", glow);
  test::writeFile(dir / "c/glow.8bf", test::piplPlugin({{"Light", "Glow"}}, 0x8664));
  test::writeFile(dir / "x/soft.8bf", test::piplPlugin({{"Blur", "Soft"}}));
  test::writeFile(dir / "y/soft.8bf", test::piplPlugin({{"Blur", "Soft"}}));
  test::writeFile(dir / "y/other.8bf", test::piplPlugin({{"Blur", "Other"}}));
  auto row = [&](const char* path, const char* category, const char* title) {
    return plugins::CatalogueRow{dir / path, category, title, 0, 0, {}, {}, {}};
  };
  const std::vector<plugins::CatalogueRow> rows = {
      row("a/glow.8bf", "Light", "Glow"), row("x/soft.8bf", "Blur", "Soft"),
      row("b/glow copy.8bf", "Light", "Glow"), row("c/glow.8bf", "Light", "Glow"),
      row("y/soft.8bf", "Blur", "Soft"), row("y/other.8bf", "Blur", "Other"),
      row("a/broken.8bf", "[Unknown]", "same"), row("b/broken.8bf", "[Unknown]", "same"),
      // Two filters of one file are not a duplicate of themselves.
      row("y/other.8bf", "Blur", "Other")};
  const auto groups = findDuplicates(rows);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].category + "|" + groups[0].title, "Blur|Soft");
  EXPECT_TRUE(groups[0].identical);
  EXPECT_EQ(groups[0].paths, (std::vector<fs::path>{dir / "x/soft.8bf", dir / "y/soft.8bf"}));
  EXPECT_EQ(groups[1].category + "|" + groups[1].title, "Light|Glow");
  EXPECT_FALSE(groups[1].identical);  // the x64 build differs
  EXPECT_EQ(groups[1].paths.size(), 3u);
  EXPECT_TRUE(sameBytes(dir / "a/glow.8bf", dir / "b/glow copy.8bf"));
  EXPECT_FALSE(sameBytes(dir / "a/glow.8bf", dir / "missing.8bf"));
}

}  // namespace
}  // namespace qm::catalogue
