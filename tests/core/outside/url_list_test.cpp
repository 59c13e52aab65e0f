#include "core/outside/url_list.h"

#include <gtest/gtest.h>

namespace qm::outside {
namespace {

TEST(UrlList, ReadsEachLineAtItsFirstSemicolon) {
  struct Case {
    const char* text;
    std::vector<UrlEntry> entries;
  } cases[] = {
      {"a b ; x;y\r\n", {{"a b", "x;y"}}},
      {"only name  \r\n;http://u\r\n", {{"only name", ""}, {"", "http://u"}}},
      {"a;1\r\n\r\nb;2", {{"a", "1"}, {"", ""}, {"b", "2"}}},
      {"a;1\nb;2\n", {{"a", "1"}, {"b", "2"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseUrlList(c.text), c.entries);
  }
}

TEST(UrlList, WritesEveryEntryBackWithEmptyOnesAsEmptyLines) {
  std::string text = "a b;x;y\r\n\r\nname only;\r\n;http://u\r\n";
  EXPECT_EQ(formatUrlList(parseUrlList(text)), text);
  EXPECT_EQ(formatUrlList({{"a b", "x;y"}, {"", ""}}), "a b;x;y\r\n\r\n");
}

TEST(UrlList, TextsNameTheListAndItsFile) {
  EXPECT_EQ(saveQuestion(UrlListKind::Tubes),
            "Do you want to save the changes in the PSP Tubes List ?");
  EXPECT_EQ(
      shareText(UrlListKind::Plugins, "/usr/share/quillmark"),
      "The URLs of this tab sheet are saved under\r\n\r\n/usr/share/quillmark/FilterURLs.txt");
}

}  // namespace
}  // namespace qm::outside
