#pragma once
// The result of one analysis run: the session table `Sessions` (one record per
// dial-up session, in log order) and the per-number totals `ServiceTotals`
// (one record per distinct dialled number), with their two counters.
#include <QString>
#include <QStringView>
#include <vector>

#include "core/common/dates.h"

namespace mirolat {

struct Session {
  Date ConnectDate = 0;
  TimeOfDay ConnectTime = 0;
  Date DisconnectDate = 0;
  TimeOfDay DisconnectTime = 0;
  QString Number;  // dialled number, "Answered Call" or "Unknown Service"
  QString Notes;   // remarks for the Details report (CleanNotes tidies them)
  bool Answered = false;
  qint32 BytesRead = 0;
  qint32 BytesWritten = 0;
  bool operator==(const Session&) const = default;
};

struct ServiceTotal {
  QString Number;  // the key: a dialled number, "Answered Calls", or "Unknown" (entry 0)
  qint32 TotalSeconds = 0;
  qint32 TotalSessions = 0;
  double TotalCost = 0;
  // TotalCost by charge, each summed on its own: the telephone's dial-up
  // charge, the service's time charge and its data charge.
  double TotalDialCost = 0;
  double TotalTimeCost = 0;
  double TotalDataCost = 0;
  // Wider than a session's own count: a few months of downloads on one number
  // pass 2 GiB, and a total must never stop a report.
  qint64 TotalBytesRead = 0;
  qint64 TotalBytesWritten = 0;
  bool operator==(const ServiceTotal&) const = default;
};

// Sessions are numbered 1..SessionCount (slot 0 is never a session);
// ServiceTotals entries 1..ServiceTotalsCount are the distinct numbers in
// order of first appearance, entry 0 collects sessions without a number.
struct SessionTable {
  std::vector<Session> Sessions;           // slots 0..MaxConnections
  std::vector<ServiceTotal> ServiceTotals;  // entries 0..MaxServices
  int SessionCount = 0;
  int ServiceTotalsCount = 0;

  // Creates both tables empty with the given sizes; counters 0.
  void Create(int maxServices, int maxConnections);
  // Creates both tables empty for an analysis run: ServiceTotals in full,
  // Sessions with slot 0 only and room for maxConnections more, each made by
  // OpenSlot when the run takes its number. A table of tens of thousands of
  // slots then costs the memory of the sessions found, not of all it may hold.
  void CreateForRun(int maxServices, int maxConnections);
  // The highest slot the table may hold.
  int SlotLimit() const { return slotLimit_; }
  // Makes slot `index` (at most SlotLimit) exist; slots below it stay as they are.
  void OpenSlot(int index) {
    if (static_cast<size_t>(index) >= Sessions.size()) Sessions.resize(static_cast<size_t>(index) + 1);
  }
  // Every ServiceTotals entry and every session slot back to empty text, zero
  // numbers, zero dates and false. The counters are left as they are.
  void ResetTables();
  // Marks a slot as written, so that ResetTables need only visit used slots.
  void Touch(int sessionIndex) {
    if (sessionIndex > touchedSessions_) touchedSessions_ = sessionIndex;
  }

 private:
  int touchedSessions_ = 0;
  int slotLimit_ = 0;
};

// Tidies a session's notes for display: blanks trimmed at both ends, the first
// "- -" shortened to "-", a leading "-" and a trailing " -" dropped.
QString CleanNotes(QStringView notes);

// The text with blanks (spaces) trimmed from both ends.
QStringView TrimBlanks(QStringView text);

}  // namespace mirolat
