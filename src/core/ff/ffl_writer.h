#pragma once
// Writing Filter Factory libraries: a record as one 29-line entry, a new library, or entries
// added to an existing one. The readers in ffl.h read every entry back; what an entry cannot
// hold is changed before writing and named, so the caller can say so.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/byte_view.h"
#include "core/common/outcome.h"
#include "core/ff/record.h"

namespace qm::ff {

// A record as a library entry holds it, and the fields that had to change for that.
struct FFLStorable {
  FFRecord record;
  std::vector<std::string> changedFields;  // "copyright", "formula line breaks", ...
};

// The reason a record cannot become an entry (a name or text with a line break, which would
// shift every later line), or nullopt.
std::optional<std::string> fflEntryRefusal(const FFRecord& rec);

// The record as an entry reads back: line breaks inside formulas become blanks, a copyright
// that starts with the copyright sign gets the "Copyright " the reader would put in front, a
// file name that would mark the entry deleted loses its slashes, the name ending follows the
// dialect (".prm" means Premiere formulas), and a G or B formula of a lone double quote (which
// means "as the one before") is changed to what it would read as.
FFLStorable fflStorable(const FFRecord& rec);

// The 29 lines of one entry, each ending in CR LF. rec must be storable (fflStorable's).
std::string fflEntryText(const FFRecord& rec);

// A whole library: header ("FFL1.0" or "FFL1.1"), entry count, entries.
std::string fflLibraryText(std::string_view header, const std::vector<FFRecord>& entries);

// The bytes of library with entries added at its end and its count line set to the number of
// entries it then holds (deleted ones counted, as the FFL View counts them). Fails, saying why,
// for bytes that are not a library or a library cut short inside an entry.
Outcome<std::string, std::string> fflWithAddedEntries(ByteView library,
                                                      const std::vector<FFRecord>& entries);

}  // namespace qm::ff
