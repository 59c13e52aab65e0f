#pragma once
// Unzip: an archive's members written into a folder through the overwrite decision. Nothing
// lands outside that folder: members named with "..", absolute names, names that pass through
// a link, and links that point outside are refused by name.

#include <filesystem>
#include <string>
#include <vector>

#include "core/batch/overwrite_check.h"
#include "core/common/ports.h"
#include "core/outside/zip_archive.h"

namespace qm::outside {

// Where a member would go: its path below the target folder, or why it may not be written.
struct PlannedMember {
  ZipMember member;
  std::filesystem::path relative;  // empty when refused
  std::string refusal;
};

// Every member with its place or its refusal. Backslashes count as folder separators, as the
// archivers of Windows write them; "." parts are dropped.
std::vector<PlannedMember> planExtraction(const std::vector<ZipMember>& members);

struct MemberProblem {
  std::string member;  // the member's name as the archive holds it, or the archive's path
  std::string reason;
};

struct UnzipReport {
  std::vector<std::filesystem::path> written;  // files and links made, each once
  std::vector<std::filesystem::path> skipped;  // kept by the overwrite decision
  std::vector<MemberProblem> refused;          // not written, with the reason
  bool cancelled = false;
};

// "MEMBER: reason" per problem.
std::vector<std::string> problemLines(const std::vector<MemberProblem>& problems);

// Writes archive's members into target (created when missing), each file in one piece.
// progress shows "k of N" and its percentage; a cancel stops before the next member.
UnzipReport extractZip(const std::filesystem::path& archive, const std::filesystem::path& target,
                       batch::OverwriteCheck& overwrite, Progress& progress);

}  // namespace qm::outside
