#include "core/plugins/read_comprm.h"

#include <array>
#include <cstring>
#include <optional>

#include "core/plugins/pe_header.h"

namespace qm::plugins {
namespace {

// Bytes looked at per step of the record search and of text reads.
constexpr std::size_t kScanChunk = 64 * 1024;

// 1 for the first letters of the record tags the search stops at (numbers, so that four
// look-ups combine without branches).
constexpr std::array<std::uint8_t, 256> kTagFirst = [] {
  std::array<std::uint8_t, 256> first{};
  for (unsigned char c : {'M', 't', 'X'}) first[c] = 1;
  return first;
}();

// "MIB8", "tlFV", "tlFA" or "XFPS" at b (four bytes).
bool isTag(const std::uint8_t* b) {
  switch (b[0]) {
    case 'M':
      return std::memcmp(b, "MIB8", 4) == 0;
    case 't':
      return b[1] == 'l' && b[2] == 'F' && (b[3] == 'V' || b[3] == 'A');
    case 'X':
      return std::memcmp(b, "XFPS", 4) == 0;
    default:
      return false;
  }
}

// length * percent / 100 to the nearest byte, ties to even.
std::uint64_t percentOf(std::uint64_t length, unsigned percent) {
  std::uint64_t v = length * percent;
  std::uint64_t q = v / 100, r = v % 100;
  if (r > 50 || (r == 50 && q % 2 == 1)) ++q;
  return q;
}

// A text of the file given by where it starts and how long it is, so that long runs of
// records never copy the same bytes again and again.
struct TextRef {
  std::uint64_t start = 0;
  std::uint64_t length = 0;
};

class Search {
 public:
  explicit Search(FileBytes& file) : file_(file) {}

  // Searches one window; the caller asks hasCategory() afterwards.
  void window(SearchWindow w) {
    std::uint64_t p = (w.start / 4) * 4 + 2;
    std::uint64_t end = w.end;
    while (p < end) {
      // Every tested position without a record tag just moves on, so only tags are tested.
      p = nextTag(p, end);
      if (p >= end) break;
      switch (test(p, end)) {
        case Step::Next:
          p += 4;
          break;
        case Step::Again:
          // The window was made 100 bytes longer. Searching it again from its start finds
          // the same records with the same results up to p, so the search goes on at p.
          end += 100;
          break;
        case Step::Done:
          return;
      }
    }
  }

  PrmResult result() {
    PrmResult out;
    out.filter.category = category_;
    out.filter.title = titleRef_ ? text(*titleRef_) : title_;
    out.filter.position = position_;
    out.filter.room = room_;
    while (!out.filter.category.empty() && out.filter.category.back() == '\0')
      out.filter.category.pop_back();
    while (!out.filter.title.empty() && out.filter.title.back() == '\0')
      out.filter.title.pop_back();
    out.ok = !out.filter.category.empty() && !out.filter.title.empty();
    return out;
  }

  bool hasCategory() const { return !category_.empty(); }

 private:
  enum class Step { Next, Again, Done };

  // The first position p, p + 4, ... below end where a record tag starts; end when none.
  std::uint64_t nextTag(std::uint64_t p, std::uint64_t end) {
    while (p < end) {
      // A tag that starts below end may end 3 bytes after it.
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(end - p, kScanChunk)) + 3;
      const ByteView v = file_.view(p, want);
      if (v.size() < 4) return end;
      const std::size_t limit =
          static_cast<std::size_t>(std::min<std::uint64_t>(v.size() - 3, end - p));
      const std::uint8_t* d = v.data();
      std::size_t i = 0;
      for (;;) {
        // Four positions a step while no first letter of a tag is among them.
        while (i + 12 < limit && !(kTagFirst[d[i]] | kTagFirst[d[i + 4]] | kTagFirst[d[i + 8]] |
                                   kTagFirst[d[i + 12]]))
          i += 16;
        if (i >= limit) break;
        if (kTagFirst[d[i]] != 0 && isTag(d + i)) return p + i;
        i += 4;
      }
      if (v.size() < want) return end;  // the file ends here
      p += (limit + 3) / 4 * 4;
    }
    return end;
  }

  bool titleEmpty() const { return titleRef_ ? titleRef_->length == 0 : title_.empty(); }
  void setTitle(std::string t) {
    title_ = std::move(t);
    titleRef_.reset();
  }

  std::string text(TextRef ref) {
    auto bytes = file_.read(ref.start, static_cast<std::size_t>(ref.length));
    return std::string(bytes.begin(), bytes.end());
  }

  std::optional<std::string> pascalText(std::uint64_t offset) {
    auto length = file_.at(offset);
    if (!length) return std::nullopt;
    return text({offset + 1, *length});
  }

  // Zero-terminated text from offset, at most max characters; runs to the end of the file.
  TextRef zeroText(std::uint64_t offset, std::uint64_t max = UINT64_MAX) {
    // Texts that start inside the last answer end at the same NUL.
    if (offset >= lastZeroStart_ && offset <= lastZeroEnd_ && lastZeroEnd_ - offset <= max)
      return {offset, lastZeroEnd_ - offset};
    std::uint64_t i = offset;
    while (i - offset < max) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(max - (i - offset), kScanChunk));
      const ByteView v = file_.view(i, want);
      if (v.empty()) break;
      if (const void* nul = std::memchr(v.data(), 0, v.size())) {
        i += static_cast<std::uint64_t>(static_cast<const std::uint8_t*>(nul) - v.data());
        break;
      }
      i += v.size();
      if (v.size() < want) break;  // the file ends here
    }
    if (max == UINT64_MAX) {
      lastZeroStart_ = offset;
      lastZeroEnd_ = i;
    }
    return {offset, i - offset};
  }

  std::uint32_t room(std::uint64_t textEnd, std::size_t length) {
    for (std::uint64_t k = 0; k < 257; ++k) {
      auto b = file_.at(textEnd + k);
      if (!b) return 0;
      if (*b != 0) return static_cast<std::uint32_t>(length + k);
    }
    return 0;
  }

  bool recordCondition(std::uint64_t p) {
    return file_.at(p + 4) != std::optional<std::uint8_t>('M') &&
           file_.at(p + 5) != std::optional<std::uint8_t>('I');
  }

  static std::int32_t position1(std::uint64_t offset) {
    return static_cast<std::int32_t>(offset + 1);
  }

  // The second name of a transition: after the first name's NUL, zero bytes are skipped
  // and texts read until one is longer than 3 characters; empty when the file ends first.
  TextRef secondName(std::uint64_t from) {
    if (from >= chainFrom_ && from <= chainResult_.start) return chainResult_;
    std::uint64_t i = from;
    TextRef found{file_.size(), 0};
    for (;;) {
      auto b = file_.at(i);
      if (!b) break;
      if (*b == 0) {
        ++i;
        continue;
      }
      TextRef t = zeroText(i);
      if (t.length > 3) {
        found = t;
        break;
      }
      i += t.length;
    }
    chainFrom_ = from;
    chainResult_ = found;
    return found;
  }

  Step test(std::uint64_t p, std::uint64_t end) {
    auto b = file_.at(p);
    if (!b) return Step::Next;
    if (*b == 'M' && file_.matches(p, "MIB8")) {
      if (file_.matches(p + 4, "eman")) {
        if (titleEmpty()) setTitle(pascalText(p + 16).value_or(""));
        return category_.empty() ? Step::Next : Step::Done;
      }
      if (file_.matches(p + 4, "gtac")) {
        position_ = position1(p + 17);
        if (p + 100 >= end) return Step::Again;
        category_ = pascalText(p + 16).value_or("");
        room_ = room(p + 17 + category_.size(), category_.size());
        return titleEmpty() ? Step::Next : Step::Done;
      }
      return Step::Next;
    }
    if (*b == 't' && file_.matches(p, "tlFV") && recordCondition(p)) {
      std::uint64_t name = file_.at(p + 8).value_or(0) < 3 ? p + 16 : p + 8;
      setTitle(text(zeroText(name, 256)));
      position_ = position1(name);
      category_ = "[Premiere Video]";
      return Step::Done;
    }
    if (*b == 't' && file_.matches(p, "tlFA") && recordCondition(p)) {
      setTitle(text(zeroText(p + 8)));
      position_ = position1(p + 8);
      category_ = "[Premiere Audio]";
      return Step::Done;
    }
    if (*b == 'X' && file_.matches(p, "XFPS") && recordCondition(p)) {
      TextRef first = zeroText(p + 8);
      TextRef second = secondName(first.start + first.length);
      titleRef_ = second.length > first.length ? first : second;
      position_ = position1(p + 8);
      category_ = "[Premiere Transition]";
      return Step::Next;
    }
    return Step::Next;
  }

  FileBytes& file_;
  std::string category_;
  std::string title_;
  std::optional<TextRef> titleRef_;
  std::int32_t position_ = 0;
  std::uint32_t room_ = 0;
  std::uint64_t lastZeroStart_ = 1, lastZeroEnd_ = 0;
  std::uint64_t chainFrom_ = 1;
  TextRef chainResult_{0, 0};
};

}  // namespace

std::vector<SearchWindow> comprmWindows(std::uint64_t section, std::uint64_t length) {
  auto at = [&](unsigned percent) { return percentOf(length, percent); };
  std::vector<SearchWindow> windows;
  windows.push_back({section, section + 7000});
  windows.push_back({at(98), length});
  const bool large = length > 1000000;
  if (large) windows.push_back({0, at(11)});
  windows.push_back({at(85), at(98)});
  windows.push_back({at(75), at(85)});
  windows.push_back({at(65), at(75)});
  windows.push_back({at(48), at(65)});
  windows.push_back({large ? at(11) : 0, at(48)});
  return windows;
}

PrmResult ReadComprmFrom(FileBytes& file) {
  auto header = findResourceSection(file);
  std::uint64_t section = header ? header->pointerToRawData : 0;
  Search search(file);
  for (const auto& w : comprmWindows(section, file.size())) {
    search.window(w);
    if (search.hasCategory()) break;
  }
  return search.result();
}

PrmResult ReadComprm(const std::filesystem::path& file) {
  auto bytes = FileBytes::open(file);
  if (!bytes) return {};
  return ReadComprmFrom(*bytes);
}

PrmResult ReadComprmBytes(ByteView bytes) {
  auto file = FileBytes::fromMemory(bytes);
  return ReadComprmFrom(file);
}

}  // namespace qm::plugins
