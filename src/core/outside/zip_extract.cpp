#include "core/outside/zip_extract.h"

#include <algorithm>
#include <system_error>

#include "core/ff/plugin_file_io.h"

namespace qm::outside {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kLargestArchive = std::uint64_t{4} << 30;

std::string plannedRefusal(std::string_view name, fs::path& relative) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (std::any_of(path.begin(), path.end(), [](char c) { return c >= 0 && c < 0x20; }))
    return "its name holds control characters";
  if (path.starts_with('/')) return "its name is absolute";
  if (path.size() >= 2 && path[1] == ':') return "its name is absolute (a drive)";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part == "..") return "its name leads out of the folder (..)";
    if (!part.empty() && part != ".") relative /= part;
    start = end + 1;
  }
  return {};
}

// True when path, with the links of its existing part followed, lies in folder (folder itself
// counts).
bool staysIn(const fs::path& path, const fs::path& folder) {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(path, ec);
  if (ec) return false;
  auto [f, r] = std::mismatch(folder.begin(), folder.end(), real.begin(), real.end());
  return f == folder.end();
}

// A link member's target: relative, and within folder from where the link stands.
bool linkStaysIn(const fs::path& relative, std::string_view target) {
  if (target.empty() || target.starts_with('/') || target.find('\0') != std::string_view::npos)
    return false;
  const fs::path resolved = (relative.parent_path() / fs::path(target)).lexically_normal();
  return resolved.empty() || *resolved.begin() != "..";
}

class Extraction {
 public:
  Extraction(const fs::path& target, batch::OverwriteCheck& overwrite)
      : target_(target), overwrite_(overwrite) {}

  // False when the user cancelled in the overwrite question.
  bool member(ByteView archive, const PlannedMember& planned, UnzipReport& report) {
    const ZipMember& m = planned.member;
    auto refuse = [&](std::string reason) {
      report.refused.push_back({m.name, std::move(reason)});
      return true;
    };
    if (!planned.refusal.empty()) return refuse(planned.refusal);
    if (planned.relative.empty()) return true;  // the archive's "./" folder
    const fs::path dest = target_ / planned.relative;
    // Followed through every existing link of its path, the place must stay in the folder.
    if (!staysIn(dest, root_))
      return refuse("it would be written through a link that leads out of the folder");
    std::error_code ec;
    if (m.directory) {
      fs::create_directories(dest, ec);
      return ec ? refuse(ec.message()) : true;
    }
    auto bytes = unpackZipMember(archive, m);
    if (!bytes) return refuse(bytes.error());
    const std::string linkTarget = m.symbolicLink ? std::string(bytes->begin(), bytes->end()) : "";
    if (m.symbolicLink && !linkStaysIn(planned.relative, linkTarget))
      return refuse("it is a link that points out of the folder");
    switch (overwrite_({}, dest)) {
      case batch::OverwriteDecision::Cancel:
        return false;
      case batch::OverwriteDecision::Skip:
        report.skipped.push_back(dest);
        return true;
      case batch::OverwriteDecision::Write:
        break;
    }
    fs::create_directories(dest.parent_path(), ec);
    if (ec) return refuse(ec.message());
    if (m.symbolicLink) {
      fs::remove(dest, ec);
      fs::create_symlink(linkTarget, dest, ec);
      if (ec) return refuse(ec.message());
    } else if (auto reason = ff::replaceFile(dest, *bytes); !reason.empty()) {
      return refuse(reason);
    }
    if (std::find(report.written.begin(), report.written.end(), dest) == report.written.end())
      report.written.push_back(dest);
    return true;
  }

  bool prepare(std::string& problem) {
    std::error_code ec;
    fs::create_directories(target_, ec);
    root_ = fs::canonical(target_, ec);
    if (ec) problem = ec.message();
    return !ec;
  }

 private:
  fs::path target_;
  fs::path root_;
  batch::OverwriteCheck& overwrite_;
};

}  // namespace

std::vector<PlannedMember> planExtraction(const std::vector<ZipMember>& members) {
  std::vector<PlannedMember> plan;
  std::vector<fs::path> links;
  for (const auto& m : members) {
    PlannedMember p{m, {}, {}};
    p.refusal = plannedRefusal(m.name, p.relative);
    if (!p.refusal.empty()) p.relative.clear();
    if (m.symbolicLink && !p.relative.empty()) links.push_back(p.relative);
    plan.push_back(std::move(p));
  }
  // A member inside a folder that another member makes a link would be written wherever that
  // link points.
  for (auto& p : plan) {
    if (p.relative.empty()) continue;
    for (const auto& link : links) {
      auto [l, r] = std::mismatch(link.begin(), link.end(), p.relative.begin(), p.relative.end());
      if (l == link.end() && r != p.relative.end()) {
        p.refusal = "its folder is a link in the archive";
        p.relative.clear();
        break;
      }
    }
  }
  return plan;
}

std::vector<std::string> problemLines(const std::vector<MemberProblem>& problems) {
  std::vector<std::string> lines;
  for (const auto& p : problems) lines.push_back(p.member + ": " + p.reason);
  return lines;
}

UnzipReport extractZip(const fs::path& archive, const fs::path& target,
                       batch::OverwriteCheck& overwrite, Progress& progress) {
  UnzipReport report;
  auto bytes = ff::readFileBytes(archive, kLargestArchive, "too large to unpack");
  if (!bytes) {
    report.refused.push_back({archive.string(), bytes.error()});
    return report;
  }
  const ByteView view(*bytes);
  auto members = readZipDirectory(view);
  if (!members) {
    report.refused.push_back({archive.string(), members.error()});
    return report;
  }
  Extraction extraction(target, overwrite);
  std::string problem;
  if (!extraction.prepare(problem)) {
    report.refused.push_back({target.string(), problem});
    return report;
  }
  const auto plan = planExtraction(*members);
  for (std::size_t k = 0; k < plan.size(); ++k) {
    if (progress.cancelled()) {
      report.cancelled = true;
      break;
    }
    progress.status(std::to_string(k + 1) + " of " + std::to_string(plan.size()));
    progress.percent(static_cast<int>((k + 1) * 100 / plan.size()));
    if (!extraction.member(view, plan[k], report)) {
      report.cancelled = true;
      break;
    }
  }
  progress.status("");
  return report;
}

}  // namespace qm::outside
