#pragma once
// One function per mirolat-cli command; args holds the words after the command name.
#include <QStringList>
#include <QTextStream>

namespace mirolat::cli {

int CmdScan(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdConfig(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdReport(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdGenlog(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdOptimize(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdPurge(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdRepair(const QStringList& args, QTextStream& out, QTextStream& err);
int CmdArchive(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace mirolat::cli
