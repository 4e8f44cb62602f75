#pragma once

// Date values: days since 1899-12-30 as a double, the time of day (or an elapsed time) as the
// fraction. This module is the only place that converts, parses and formats them.
//
// Times are whole seconds: arithmetic on times is done on seconds (toSeconds / fromSeconds)
// and turned into a day fraction once, so equal times compare equal to the last bit.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTime>

#include <cmath>
#include <functional>
#include <optional>

namespace basDate {

inline constexpr qint64 SecondsPerDay = 86400;

// Whole seconds <-> date value. toSeconds rounds to the nearest second (ties away from zero)
// and reads the value linearly (a negative value is a negative number of seconds).
inline double fromSeconds(qint64 seconds) {
    return static_cast<double>(seconds) / SecondsPerDay;
}
inline qint64 toSeconds(double value) {
    return std::llround(value * SecondsPerDay);
}
// Rounds a value to the nearest whole second.
double wholeSeconds(double value);

// Serial values as the automation runtime builds them.
double dateSerial(int year, int month, int day);
double timeSerial(int hour, int minute, int second);

// Calendar conversions. Negative values follow the automation-date rule: the integer part
// (toward zero) counts days, the fraction is the time of that day whatever the sign.
double fromDateTime(const QDateTime& dateTime);
double fromDate(QDate date);
double fromTime(QTime time);
QDateTime toDateTime(double value);
QDate toDate(double value);
QTime toTime(double value);

// Whole days (the integer part, toward zero) and the remaining time of day of a value.
double datePart(double value);
double timePart(double value);

// The local date and time now, to the second. Tests may replace the clock.
double now();
void setClock(std::function<QDateTime()> clock); // an empty function restores the system clock

// The text forms the system stores and shows.
enum class Form {
    YyMmDdHhNnSs,       // "yy/mm/dd hh:nn:ss"
    HhNnSs,             // "hh:nn:ss"
    HNnSs,              // "h:nn:ss"
    YyyyMmDd,           // "yyyy/mm/dd"
    YyyyMmDdKanji,      // "yyyy年mm月dd日"
    YyyyMmDdDash,       // "yyyy-mm-dd"
    YyMmDdHhNnSsPacked, // "yymmddhhnnss"
    HNnSsPacked,        // "hnnss"
    HNn,                // "h:nn"
};

QString format(double value, Form form);
// Parses exactly one form (digits may be one or two wide where the form has separators).
// A two-digit year expands into 1930-2029.
std::optional<double> parse(QStringView text, Form form);

// Formats a value with a format expression made of the tokens yyyy, yy, mm (month), dd, m, d,
// hh, h, nn, n, ss, s; any other character stands for itself, a character after a backslash
// and text inside double quotes are copied literally.
QString format(double value, QStringView expression);

// The automation runtime's recognition of a date and/or time text in year/month/day order:
// "y/m/d", "y-m-d", "y年m月d日" and "h:n" or "h:n:s" (each part optional, separated by
// blanks), with a two-digit year expanding into 1930-2029. Fields out of range give nothing.
std::optional<double> recognize(QStringView text);
inline bool isDate(QStringView text) {
    return recognize(text).has_value();
}

// Expands a year of one or two digits into 1930-2029; other years are returned unchanged.
int expandYear(int year);

} // namespace basDate
