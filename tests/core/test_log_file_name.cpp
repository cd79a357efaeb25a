// The configured log's name must be a plain file name in the log folder:
// Clear Modem Log deletes whatever it names.
#include <gtest/gtest.h>

#include "core/model/log_file_name.h"

namespace mirolat {
namespace {

TEST(LogFileName, OnlyPlainNamesInTheLogFolderPass) {
  struct Row { QString name; bool plain; } rows[] = {
      {QStringLiteral("ModemLog.txt"), true}, {QStringLiteral("modem log (old).txt"), true},
      {QStringLiteral(".hidden"), true}, {QStringLiteral("..."), true}, {QStringLiteral("Журнал.txt"), true},
      {QString(255, QLatin1Char('a')), true}, {QString(256, QLatin1Char('a')), false},
      {QString(128, QChar(0x00E9)), false},  // 256 bytes in UTF-8
      {QString(), false}, {QStringLiteral("."), false}, {QStringLiteral(".."), false},
      {QStringLiteral("../../home/user/thesis.tex"), false}, {QStringLiteral("/home/user/thesis.tex"), false},
      {QStringLiteral("sub/ModemLog.txt"), false}, {QStringLiteral("ModemLog.txt/"), false},
      {QStringLiteral("..\\..\\boot.ini"), false}, {QStringLiteral("*.txt"), false},
      {QStringLiteral("ModemLog?.txt"), false}, {QStringLiteral("Modem\nLog.txt"), false},
      {QStringLiteral("Modem") + QChar(0) + QStringLiteral("Log"), false}, {QStringLiteral("Modem\x7fLog"), false}};
  for (const Row& r : rows) EXPECT_EQ(IsPlainLogFileName(r.name), r.plain) << r.name.toStdString();
}

}  // namespace
}  // namespace mirolat
