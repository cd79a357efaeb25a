#include <gtest/gtest.h>

#include "core/reports/details_report.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

using testing_support::TableReportTest;

class DetailsFromTable : public TableReportTest {
 protected:
  DetailsFromTable() {
    Service& s = config.Services[0];
    s.ServiceName = QStringLiteral("NetOne");
    s.ServiceNumber = QStringLiteral("5551234");
    s.DialOption = 2;
    s.UsedTariffs = 1;
    s.Tariffs[0] = Tariff{QStringLiteral("All Day"), QStringLiteral("Everyday"), 0, MakeTime(23, 59, 0), 0.10, 0.06, 0};
  }
  DetailsReport Build() { NullProgress progress; return BuildDetailsReport(tables, Inputs(day, day + 1), progress); }
  Date day = MakeDate(1998, 3, 10);
};

TEST_F(DetailsFromTable, NoSessionsNoListRows) {
  const DetailsReport r = Build();  // the text is a golden case
  EXPECT_TRUE(r.Model.NoConnShown);
  EXPECT_TRUE(r.Model.Rows.empty());
}

// Without the list: the same text and figures, and no rows.
TEST_F(DetailsFromTable, WithoutListRowsTheRestIsTheSame) {
  AddSession("5551234", day, MakeTime(10, 0, 0), day, MakeTime(10, 45, 0));
  AddSession("5551234", day, MakeTime(23, 30, 0), day + 1, MakeTime(0, 20, 0), " ERROR - No Disconnect Entry -");
  const SessionTable before = tables;
  const DetailsReport full = Build();
  tables = before;  // the build rewrites notes
  NullProgress progress;
  const DetailsReport bare = BuildDetailsReport(tables, Inputs(day, day + 1), progress, false);
  EXPECT_EQ(full.Model.Rows.size(), 6u);
  EXPECT_TRUE(bare.Model.Rows.empty());
  EXPECT_EQ(bare.Model.Text, full.Model.Text);
  ASSERT_EQ(bare.Figures.size(), full.Figures.size());
  for (std::size_t i = 0; i < full.Figures.size(); ++i) {
    EXPECT_EQ(bare.Figures[i].Cost, full.Figures[i].Cost);
    EXPECT_EQ(bare.Figures[i].Notes, full.Figures[i].Notes);
  }
}

}  // namespace
}  // namespace mirolat
