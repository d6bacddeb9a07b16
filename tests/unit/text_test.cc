// The pure text rules: argument cleaning, entry splitting, name matching,
// UTF-8.
#include <gtest/gtest.h>

#include "base/text.h"

namespace vantrel {
namespace {

TEST(ArgumentCleaning, QuotesGoWhereverTheyStandAndBlanksStay) {
  EXPECT_EQ(RemoveDoubleQuotes(L"\"C:\\My Packages\\app.7z\""), L"C:\\My Packages\\app.7z");
  EXPECT_EQ(RemoveDoubleQuotes(L"C:\\a\"b\"\"c.7z\""), L"C:\\abc.7z");
  EXPECT_EQ(RemoveDoubleQuotes(L"\"\"\"\""), L"");
  EXPECT_EQ(RemoveDoubleQuotes(L"C:\\a.7z C:\\b.7z"), L"C:\\a.7z C:\\b.7z");
  EXPECT_EQ(TrimBlanks(L"  a b  "), L"a b");
  EXPECT_EQ(TrimBlanks(L"   "), L"");
  EXPECT_EQ(TrimBlanks(L"\ta\t"), L"\ta\t");  // only spaces are blanks here
}

TEST(EnvironmentEntrySplit, NameBeforeFirstEqualsValueAfterIt) {
  EnvironmentEntryParts parts;
  ASSERT_TRUE(SplitEnvironmentEntry(L"SystemRoot= C:\\WIN=DOWS\\ ", parts));
  EXPECT_EQ(parts.name, L"systemroot");
  EXPECT_EQ(parts.value, L"C:\\WIN=DOWS");
  ASSERT_TRUE(SplitEnvironmentEntry(L"=C:=C:\\", parts));
  EXPECT_EQ(parts.name, L"");
  EXPECT_EQ(parts.value, L"C:=C:");
  ASSERT_TRUE(SplitEnvironmentEntry(L"X=", parts));
  EXPECT_EQ(parts.value, L"");
  EXPECT_FALSE(SplitEnvironmentEntry(L"NoEqualsHere", parts));
  // Lowering never touches non-ASCII letters, whatever the locale.
  ASSERT_TRUE(SplitEnvironmentEntry(L"\u00C4BC=1", parts));
  EXPECT_EQ(parts.name, L"\u00C4bc");
}

TEST(WildcardMatching, RealNamesOnlyIgnoringCase) {
  EXPECT_TRUE(WildcardMatch(L"*.inf", L"SETUP.INF"));
  EXPECT_TRUE(WildcardMatch(L"*.inf", L".inf"));
  EXPECT_TRUE(WildcardMatch(L"*.inf", L"a.b.inf"));
  EXPECT_FALSE(WildcardMatch(L"*.inf", L"readme.information"));
  EXPECT_FALSE(WildcardMatch(L"*.inf", L"setup.in_"));
  EXPECT_FALSE(WildcardMatch(L"*.inf", L"inf"));
  EXPECT_TRUE(WildcardMatch(L"a?c*", L"abcdef"));
  EXPECT_FALSE(WildcardMatch(L"a?c", L"ac"));
  EXPECT_TRUE(WildcardMatch(L"*", L""));
  // A pattern full of stars against a long miss stays quick.
  EXPECT_FALSE(WildcardMatch(L"*a*a*a*a*a*a*a*a*b", std::wstring(5000, L'a')));
}

TEST(Utf8, BothWaysWithPairsAndLoneSurrogates) {
  // "Ä€" and U+1F600 as a surrogate pair, the way Windows holds it.
  const std::wstring wide = {L'A', 0xC4, 0x20AC, 0xD83D, 0xDE00};
  EXPECT_EQ(ToUtf8(wide), "A\xC3\x84\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(FromUtf8("\xC3\x84\xE2\x82\xAC"), (std::wstring{0xC4, 0x20AC}));
  // A lone surrogate (either half) and a broken or overlong sequence.
  EXPECT_EQ(ToUtf8(std::wstring{0xDC00, L'x', 0xD800}), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(FromUtf8("\xC0\xAFz\xE2\x82"), (std::wstring{0xFFFD, 0xFFFD, L'z', 0xFFFD, 0xFFFD}));
}

TEST(SplitAndJoin, EmptyPiecesCountAndJoiningUndoesSplitting) {
  EXPECT_EQ(Split(L"a..b.", L'.'), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
  EXPECT_EQ(Split(L"", L'.'), std::vector<std::wstring>{L""});
  EXPECT_EQ(Split(std::wstring(L"x\0y", 3), L'\0'), (std::vector<std::wstring>{L"x", L"y"}));
  EXPECT_EQ(Join(Split(L"a..b.", L'.'), L", "), L"a, , b, ");
  EXPECT_EQ(Join({}, L", "), L"");
  EXPECT_TRUE(AllDigits(L"0123456789"));
  EXPECT_FALSE(AllDigits(L""));
  EXPECT_FALSE(AllDigits(L"12a"));
  EXPECT_FALSE(AllDigits(L" 1"));
  // A path's last part, after either separator; a bare name is its own.
  EXPECT_EQ(FileNameOf(L"C:\\Windows\\inf/VT_R~1.INF"), L"VT_R~1.INF");
  EXPECT_EQ(FileNameOf(L"a.inf"), L"a.inf");
  EXPECT_EQ(FileNameOf(L"C:\\Temp\\"), L"");
}

}  // namespace
}  // namespace vantrel
