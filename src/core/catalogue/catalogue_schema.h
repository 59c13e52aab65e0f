#pragma once
// The tables of the catalogue cache. A folder's path is kept once; its files' rows name it by
// id, which keeps every row's key short.

namespace qm::catalogue {

// "QMCT": tells our file from any other SQLite file in the folder.
constexpr int kApplicationId = 0x514D4354;
// Raised with every change of the tables: a file of another format is made anew.
constexpr int kFormatVersion = 2;

constexpr const char* kFoldersTable =
    "CREATE TABLE folders (id INTEGER PRIMARY KEY, path BLOB NOT NULL UNIQUE)";
constexpr const char* kFiltersTable =
    "CREATE TABLE filters (folder INTEGER NOT NULL, name BLOB NOT NULL, size INTEGER NOT NULL, "
    "modified INTEGER NOT NULL, reader TEXT NOT NULL, ordinal INTEGER NOT NULL, type TEXT, "
    "category BLOB, title TEXT, position INTEGER, room INTEGER, architecture TEXT, "
    "modes INTEGER, enable_info BLOB, PRIMARY KEY (folder, name, ordinal)) WITHOUT ROWID";

// Files that gave no row are stored as one row of this ordinal, so they are not read again.
constexpr int kNoFilter = -1;

}  // namespace qm::catalogue
