#include <gtest/gtest.h>

#include "core/common/dates.h"
#include "core/common/errors.h"

namespace mirolat {
namespace {

// Built during static initialisation, before or after dates.cpp's own statics.
const Date kBuiltStatically = MakeDate(1998, 1, 15);
const QDate kQDateStatically = ToQDate(35810);

TEST(Dates, DayCountsMatchTheEpoch) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0);
  EXPECT_EQ(MakeDate(1900, 1, 1), 2);
  EXPECT_EQ(MakeDate(1998, 1, 15), 35810);
  EXPECT_EQ(ToQDate(35810), QDate(1998, 1, 15));
  EXPECT_EQ(FromQDate(QDate(1998, 1, 15)), 35810);
  EXPECT_EQ(FromQDate(QDate()), 0);
}

TEST(Dates, ConversionsWorkDuringStaticInitialisation) {
  EXPECT_EQ(kBuiltStatically, 35810);
  EXPECT_EQ(kQDateStatically, QDate(1998, 1, 15));
}

TEST(Dates, MonthAndDayOverflowCarryForward) {
  EXPECT_EQ(MakeDate(1998, 13, 1), MakeDate(1999, 1, 1));
  EXPECT_EQ(MakeDate(1998, 4, 31), MakeDate(1998, 5, 1));
  EXPECT_EQ(MakeDate(1998, 2, 30), MakeDate(1998, 3, 2));
  EXPECT_EQ(MakeDate(1998, 25, 1), MakeDate(2000, 1, 1));
  EXPECT_EQ(MakeDate(2000, 99, 99), FromQDate(QDate(2008, 3, 1).addDays(98)));
}

TEST(Dates, WeekdayIndexStartsOnMonday) {
  EXPECT_EQ(WeekdayIndex(MakeDate(1998, 10, 5)), 0);  // Monday
  EXPECT_EQ(WeekdayIndex(MakeDate(1998, 10, 4)), 6);  // Sunday
  EXPECT_EQ(WeekdayIndex(0), 5);                      // Saturday
}

TEST(Dates, TimesOfDayReadBack) {
  struct Case {
    const char* text;
    TimeOfDay expected;
  } cases[] = {{"00:00:00", 0}, {"23:59:59", 86399}, {"8:05", 8 * 3600 + 300}, {"24:00", -1},
               {"12:60", -1},   {"abc", -1},         {"", -1},                  {"1:2:3:4", -1}};
  for (const auto& c : cases) EXPECT_EQ(TimeFromText(QString::fromLatin1(c.text)), c.expected) << c.text;
  EXPECT_EQ(TimeToText(MakeTime(7, 3, 9)), QStringLiteral("07:03:09"));
  EXPECT_EQ(TimeToHhMm(MakeTime(17, 59, 0)), QStringLiteral("17:59"));
}

// The buttons of each condition's box and what each button means; the box
// texts are the table's own.
TEST(ErrorModel, EveryConditionHasItsButtonsAndAnswers) {
  using B = MessageButtons;
  using C = ErrorCondition;
  const struct { ErrorCondition condition; B buttons; } cases[] = {
      {C::BadFileName, B::AbortRetryIgnore},    {C::WrongAccessMode, B::Ok},
      {C::AlreadyOpen, B::Ok},                  {C::DeviceIO, B::Ok},
      {C::DiskFull, B::AbortRetryIgnore},       {C::ReadPastEnd, B::AbortRetryIgnore},
      {C::DeviceUnavailable, B::OkCancel},      {C::FileLocked, B::AbortRetryIgnore},
      {C::DiskNotReady, B::OkCancel},           {C::PathFileAccess, B::AbortRetryIgnore},
      {C::PathNotFound, B::AbortRetryIgnore}};
  const std::pair<MessageButton, ErrorAnswer> answers[] = {
      {MessageButton::Ok, ErrorAnswer::Retry},      {MessageButton::Retry, ErrorAnswer::Retry},
      {MessageButton::Cancel, ErrorAnswer::Continue}, {MessageButton::Ignore, ErrorAnswer::Continue},
      {MessageButton::Abort, ErrorAnswer::End},     {MessageButton::Yes, ErrorAnswer::Unknown},
      {MessageButton::No, ErrorAnswer::Unknown}};
  for (const auto& c : cases) {
    const RunError error(c.condition, QStringLiteral("detail"), QStringLiteral("Somewhere"));
    EXPECT_EQ(ErrorMessageFor(error).buttons, c.buttons) << error.number();
    for (const auto& [pressed, answer] : answers) {
      EXPECT_EQ(MapErrorAnswer(error, pressed), answer) << error.number() << " button " << static_cast<int>(pressed);
    }
  }
  // Any other error: the generic text, OK, no icon, the source in the title,
  // and the end of the program whatever was pressed.
  const RunError other(ErrorCondition::Other, QStringLiteral("Subscript out of range"), QStringLiteral("MRLMain"), 9);
  const MessageBoxSpec generic = ErrorMessageFor(other);
  EXPECT_EQ(generic.text, QStringLiteral("An Error has occurred during processing.\n\nError code: 9\nDescription: "
                                         "Subscript out of range\n"));
  EXPECT_EQ(generic.buttons, B::Ok);
  EXPECT_EQ(generic.icon, MessageIcon::None);
  EXPECT_EQ(generic.title, QStringLiteral("MRLMain - Error"));
  for (const auto& [pressed, answer] : answers) {
    EXPECT_EQ(MapErrorAnswer(other, pressed), ErrorAnswer::Unknown) << static_cast<int>(pressed);
  }
  // A description with a percent sign is shown as it is.
  const RunError percent(ErrorCondition::Other, QStringLiteral("100% %1 done"), QStringLiteral("X"), 5);
  EXPECT_EQ(ErrorMessageFor(percent).text,
            QStringLiteral("An Error has occurred during processing.\n\nError code: 5\nDescription: 100% %1 done\n"));
}

class ScriptedReporter : public MessageErrorReporter {
 public:
  std::vector<MessageButton> answers;
  int shown = 0;

 protected:
  MessageButton ShowMessage(const MessageBoxSpec&) override { return answers.at(shown++); }
};

TEST(ErrorModel, RunStepRetriesContinuesOrEnds) {
  ScriptedReporter r;
  r.answers = {MessageButton::Retry, MessageButton::Ignore};
  int attempts = 0;
  const bool done = RunStep(r, [&] { ++attempts; throw RunError(ErrorCondition::DiskFull, QStringLiteral("full")); });
  EXPECT_FALSE(done);
  EXPECT_EQ(attempts, 2);
  ScriptedReporter abort;
  abort.answers = {MessageButton::Abort};
  EXPECT_THROW(RunStep(abort, [] { throw RunError(ErrorCondition::DiskFull, QString()); }), EndProgramRequested);
  ScriptedReporter unknown;
  unknown.answers = {MessageButton::Ok};
  EXPECT_THROW(RunStep(unknown, [] { throw RunError(ErrorCondition::Other, QString()); }), EndProgramRequested);
  ScriptedReporter none;
  EXPECT_TRUE(RunStep(none, [] {}));
  EXPECT_EQ(none.shown, 0);
}

TEST(ErrorModel, ErrnoMapsToConditions) {
  EXPECT_EQ(ConditionFromErrno(ENOENT), ErrorCondition::PathNotFound);
  EXPECT_EQ(ConditionFromErrno(ENOSPC), ErrorCondition::DiskFull);
  EXPECT_EQ(ConditionFromErrno(EACCES), ErrorCondition::PathFileAccess);
  EXPECT_EQ(ConditionFromErrno(12345), ErrorCondition::Other);
}

}  // namespace
}  // namespace mirolat
