// Addresses handed to the shell: one argument of ASCII, whatever the address
// holds, and nothing in it made by a code page's look-alikes.
#include <gtest/gtest.h>

#include "platform/web_address.h"

namespace ludora {
namespace {

TEST(WebAddress, TheShellGetsOneArgumentOfAsciiWhateverTheAddressHolds) {
  // What best fit makes a quote and blanks of, and any text beyond ASCII, as UTF-8 %XX.
  EXPECT_EQ(AsciiAddress(u"http://x.example/a\uFF02 -b\u3000c"),
            "http://x.example/a%EF%BC%82 -b%E3%80%80c");
  EXPECT_EQ(AsciiAddress(u"http://m\u00FCnchen.example/\u00E9\U0001F600"),
            "http://m%C3%BCnchen.example/%C3%A9%F0%9F%98%80");
  for (const std::u16string lone : {u"http://x/\xD800", u"http://x/\xDC00\xD800", u"\xD83D"})
    EXPECT_EQ(AsciiAddress(lone), std::nullopt);
  // Quotes, blanks and controls a command line splits at; a '%' that begins no %XX.
  EXPECT_EQ(ShellAddress("http://x.example/a\" -b c\t<d>\x7F%zz%41%4"),
            "http://x.example/a%22%20-b%20c%09%3Cd%3E%7F%25zz%41%254");
  // A double-byte character (Shift-JIS 0x95 0x5C) keeps its second byte.
  EXPECT_EQ(ShellAddress("http://x/\x95\x5C\xE9"), "http://x/\x95\x5C\xE9");
}

}  // namespace
}  // namespace ludora
