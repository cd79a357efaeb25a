#pragma once
// Dates are whole day counts since 30 December 1899; times of day are whole
// seconds 0..86399. QDate/QTime appear only at the edges (display, parsing).
#include <QDate>
#include <QString>
#include <QTime>

namespace mirolat {

using Date = int;       // days since 1899-12-30; 0 means "no date"
using TimeOfDay = int;  // seconds since midnight, 0..86399

inline constexpr int kSecondsPerDay = 86400;
inline constexpr TimeOfDay kLastSecondOfDay = 86399;  // 23:59:59

// The calendar date of year/month/day with a month above 12 or a day beyond the
// month's length carried forward (month 13 of 1998 is January 1999, 31 April is
// 1 May). Day 0 or month 0 carry backwards the same way.
Date MakeDate(int year, int month, int day);

Date FromQDate(const QDate& d);
QDate ToQDate(Date d);

// 0 = Monday .. 6 = Sunday.
int WeekdayIndex(Date d);

// ISO text YYYY-MM-DD, and back (0 for empty or invalid text).
QString DateToIso(Date d);
Date DateFromIso(const QString& text);

inline constexpr TimeOfDay MakeTime(int h, int m, int s) { return h * 3600 + m * 60 + s; }
// "HH:MM:SS", and "HH:MM" (minutes only).
QString TimeToText(TimeOfDay t);
QString TimeToHhMm(TimeOfDay t);
// Parses "H:MM" or "H:MM:SS" (24-hour); returns -1 for text that is not a time of day.
TimeOfDay TimeFromText(const QString& text);

}  // namespace mirolat
