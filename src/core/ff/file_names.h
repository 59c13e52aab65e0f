#pragma once
// Output names of the conversion run. Names that come from file contents (titles, an
// entry's file name) are cleaned here before they are joined to a folder.

#include <string>
#include <string_view>

namespace qm::ff {

// Target kinds of the Convert dialog's output format list.
enum TargetKind : int {
  kTargetPlugin = 0,
  kTargetPremiereFF = 1,
  kTargetPremiereTF = 2,
  kTargetAfs = 3,
  kTargetPff = 4,
  kTargetText = 5,
};

// The name a target's writer gives its output for a record named fileName: a name without
// "." first gets the target's extension (a plugin name ending in "_8bf" does not); then its
// last four characters are replaced by the extension (a plugin name shorter than that keeps
// what stands before its last "."). Counts Windows-1252 characters, one per byte. Kinds
// outside 0, 3, 4 and 5 return the name unchanged.
std::string writtenName(int target, std::string_view fileName);
// The same for a UTF-8 name, counting its characters; a name that is not valid UTF-8 (a disk
// name with bad bytes) is counted by bytes and keeps them.
std::string writtenNameUtf8(int target, std::string_view fileName);

// A title as file name ("Use Filter Name as File Name"): removes . \ / : and also
// * ? " < > | that no Windows file name may hold.
std::string RemoveCharsNoSpace(std::string_view title);
// The same and blanks too; used for text taken from the clipboard.
std::string RemoveChars(std::string_view title);

}  // namespace qm::ff
