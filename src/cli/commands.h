#pragma once
// One function per mirolat-cli command; args holds the words after the command name.
#include <QStringList>
#include <QTextStream>

namespace mirolat::cli {

int CmdScan(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdConfig(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdReport(const QStringList& args, QTextStream& out, QTextStream& err);
// Needs a QApplication (an offscreen one will do): it draws.
int CmdChart(const QStringList& args, QTextStream& out, QTextStream& err);
// Exit status: the worst budget's state (0 ok, 1 warning, 2 over), 3 a
// failure, 64 a wrong command line.
int CmdBudget(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdGenlog(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdOptimize(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdPurge(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdRepair(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdArchive(const QStringList& args, QTextStream& out, QTextStream& err);

// The full help of the maintenance commands.
const char* OptimizeHelp();
const char* PurgeHelp();
const char* RepairHelp();
const char* ArchiveHelp();
int CmdModem(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdImportPppd(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdCompare(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdRecordSession(const QStringList& args, QTextStream& out, QTextStream& err);

// The full help of the commands that keep it beside their code.
const char* ModemHelp();
const char* ImportPppdHelp();
const char* ChartHelp();
const char* BudgetHelp();
const char* CompareHelp();
const char* RecordSessionHelp();

}  // namespace mirolat::cli

namespace mirolat {
class SerialPortLister;
}

namespace mirolat::cli {

// The serial ports `modem detect` looks at (the program's main plugs in the
// system's; none: detection is not available).
void SetSerialPortLister(SerialPortLister* lister);

}  // namespace mirolat::cli
