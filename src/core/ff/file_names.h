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

// The name the overwrite question tests: everything up to and including the first "."
// followed by the target's extension; without a "." the extension is appended as it is.
// A target outside 0..5 returns the name unchanged. This is only the name the overwrite
// question tests; it can differ from the writer's (which cuts the last four characters), and
// is kept as the program has always named it.
std::string GetFilname(int target, std::string_view fileName);

// A title as file name ("Use Filter Name as File Name"): removes . \ / : and also
// * ? " < > | that no Windows file name may hold.
std::string RemoveCharsNoSpace(std::string_view title);
// The same and blanks too; used for text taken from the clipboard.
std::string RemoveChars(std::string_view title);

}  // namespace qm::ff
