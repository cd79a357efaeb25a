// The session table and per-number totals: emptying them, and tidying notes.
#include <gtest/gtest.h>

#include "core/model/session_table.h"

namespace mirolat {
namespace {

TEST(CleanNotes, TidiesJoinedPieces) {
  struct Case { const char* in; const char* out; };
  const Case cases[] = {
      {" Unable to get dialled number - - W:5 KB", "Unable to get dialled number - W:5 KB"},
      {" Unable to get dialled number -", "Unable to get dialled number"}, {" - W:5 KB", " W:5 KB"},
      {" ERROR - No Disconnect Entry - - W:1 KB - - x", "ERROR - No Disconnect Entry - W:1 KB - - x"},  // first "- -" only
      {"   ", ""}, {" No Cost R:3", "No Cost R:3"}, {"- -", ""},  // shortened to "-", then the leading dash goes
      {"", ""},     {"-", ""},        {" -", ""},
      {"- - -", ""},  // "- -" shortened, then the leading dash and the " -" go
      {"a- -b", "a-b"}, {"- -x - -", "x -"}, {" -x- ", "x-"}, {"x - ", "x"},
      {"\u00c9t\u00e9 - - R:1 ", "\u00c9t\u00e9 - R:1"}};
  for (const Case& c : cases) EXPECT_EQ(CleanNotes(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(SessionTable, CreateSizesBothTablesAndResetEmptiesEveryField) {
  SessionTable table;
  table.Create(10, 200);
  ASSERT_EQ(table.Sessions.size(), 201u);
  ASSERT_EQ(table.ServiceTotals.size(), 11u);
  for (int i : {1, 150}) {
    Session& s = table.Sessions[static_cast<size_t>(i)];
    s = Session{MakeDate(1998, 1, 15), 10, MakeDate(1998, 1, 15), 20, QStringLiteral("555"), QStringLiteral(" n"), true, 7, 8};
    table.Touch(i);
  }
  table.ServiceTotals[0] = ServiceTotal{QStringLiteral("Unknown"), 5, 1, 0.5, 9};
  table.ServiceTotals[10] = ServiceTotal{QStringLiteral("555"), 5, 1, 0.5, 9};
  table.SessionCount = 150;
  table.ServiceTotalsCount = 10;
  table.ResetTables();
  for (const Session& s : table.Sessions) EXPECT_EQ(s, Session{});
  for (const ServiceTotal& t : table.ServiceTotals) EXPECT_EQ(t, ServiceTotal{});
  EXPECT_EQ(table.SessionCount, 150);  // the counters belong to the caller
  // A new run starts from empty totals, even in a table of the same size.
  table.ServiceTotals[3] = ServiceTotal{QStringLiteral("555"), 5, 1, 0.5, 9};
  table.CreateForRun(10, 200);
  for (const ServiceTotal& t : table.ServiceTotals) EXPECT_EQ(t, ServiceTotal{});
}

TEST(TrimBlanks, OnlySpacesAreBlanks) {
  EXPECT_EQ(TrimBlanks(u"  5551234 "), u"5551234");
  EXPECT_EQ(TrimBlanks(u"\t5551234"), u"\t5551234");
  EXPECT_EQ(TrimBlanks(u"   "), u"");
}

}  // namespace
}  // namespace mirolat
