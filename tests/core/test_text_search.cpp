// The viewer's search rule over a small text, every direction and case rule in
// one table, and a walk of Find Next through every hit in both directions.
#include <gtest/gtest.h>

#include <QString>

#include "core/logfile/text_search.h"

namespace mirolat {
namespace {

struct SearchRow {
  const char* name;
  const char* hay;
  const char* needle;
  qsizetype caret;
  bool matchCase;
  bool down;
  bool continueAfterHit;
  qsizetype expected;  // 1-based, 0: not found
};

class TextSearchTable : public ::testing::TestWithParam<SearchRow> {};

TEST_P(TextSearchTable, FindsTheExpectedPosition) {
  const SearchRow& r = GetParam();
  const QString hay = QString::fromLatin1(r.hay);
  const QString needle = QString::fromLatin1(r.needle);
  TextSearchRequest request{needle, r.caret, r.matchCase, r.down, r.continueAfterHit};
  EXPECT_EQ(FindTextPosition(hay, request), r.expected);
}

//                        0123456789012345678
// "ab AB ab" -> 1-based:  12345678
const SearchRow kRows[] = {
    {"down from start finds first", "ab AB ab", "ab", 0, false, true, false, 1},
    {"down new search finds a hit at the caret", "ab AB ab", "ab", 3, false, true, false, 4},
    {"down continuing skips the hit at the caret", "ab AB ab", "ab", 3, false, true, true, 7},
    {"down with case skips the upper-case hit", "ab AB ab", "ab", 1, true, true, false, 7},
    {"down without case upper-cases both sides", "ab AB ab", "Ab", 1, false, true, false, 4},
    {"down past the last hit finds nothing", "ab AB ab", "ab", 7, false, true, false, 0},
    {"down finds a hit that ends at the last character", "xx ab", "ab", 0, false, true, false, 4},
    {"up from the end finds the last hit", "ab AB ab", "ab", 8, false, false, false, 7},
    {"up never looks at the character at the caret", "ab AB ab", "ab", 6, false, false, false, 4},
    {"up new search passes over a hit just before the caret", "ab AB ab", "ab", 7, false, false, false, 4},
    {"up continuing after a hit finds the one before", "ab AB ab", "ab", 6, false, false, true, 4},
    {"up continuing finds a hit just before the old one", "abab", "ab", 2, false, false, true, 1},
    {"up with case passes over the upper-case hit", "ab AB ab", "ab", 8, true, false, true, 7},
    {"up from the start finds nothing", "ab AB ab", "ab", 0, false, false, false, 0},
    {"up continuing from the first hit finds nothing", "ab AB ab", "ab", 0, false, false, true, 0},
    {"up may find a hit that runs over the caret", "xxabxx", "ab", 4, false, false, true, 3},
    {"empty needle finds nothing", "ab", "", 0, false, true, false, 0},
    {"Latin-1 letters compare by upper case", "x \xe9t\xe9 \xc9T\xc9", "\xc9T\xc9", 0, false, true, false, 3},
    {"a needle across a line end", "a\nb\nab", "\nab", 0, false, true, false, 4}};

INSTANTIATE_TEST_SUITE_P(Rows, TextSearchTable, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<SearchRow>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) { if (!std::isalnum(static_cast<unsigned char>(c))) c = '_'; }
                           return name;
                         });

// Find Next as the viewer runs it: each hit puts the caret on it and the next
// search continues from there. Down visits every hit in order, up in reverse.
TEST(TextSearchWalk, FindNextVisitsEveryHitOnceInEachDirection) {
  const QString hay = QStringLiteral("CONNECT x connect y Connect z");
  const QString needle = QStringLiteral("connect");
  for (const bool down : {true, false}) {
    std::vector<qsizetype> hits;
    qsizetype caret = down ? 0 : hay.size();
    bool continuing = false;
    for (int guard = 0; guard < 10; ++guard) {
      const qsizetype pos = FindTextPosition(hay, {needle, caret, false, down, continuing});
      if (pos == 0) break;
      hits.push_back(pos);
      caret = pos - 1;
      continuing = true;
    }
    const std::vector<qsizetype> expected = down ? std::vector<qsizetype>{1, 11, 21} : std::vector<qsizetype>{21, 11, 1};
    EXPECT_EQ(hits, expected) << (down ? "down" : "up");
  }
}

}  // namespace
}  // namespace mirolat
