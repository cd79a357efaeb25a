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

// The date of year/month/day when that day exists, in the years 1900 to 9999;
// 0 otherwise. Nothing is carried: month 13, 30 February, day 0 and year
// 10007 all give 0.
constexpr Date ExistingDate(int year, int month, int day) {
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  constexpr int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (day > kLength[month - 1] + (month == 2 && leap ? 1 : 0)) return 0;
  // Days from the civil date, counted from 1 March so that the leap day ends a year.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = y / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  // 0000-03-01 is day 0 of era 0; 30 December 1899 is 693899 days later.
  return era * 146097 + dayOfEra - 693899;
}

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
