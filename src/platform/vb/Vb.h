// Runtime helpers the program's code relies on: number formats, number reads, dates with
// two-digit years and English month names, blank trimming, and the skip-a-failing-statement
// helper.
#pragma once

#include "NumberText.h"
#include "platform/db/Variant.h"

#include <QDate>
#include <QString>
#include <functional>

namespace vb {

// Numbers are read and written through NumberText: the same on every machine, whatever its
// locale, and a number too large for a double raises ado::Error 6 (Overflow), never giving an
// infinity.

// Format(x, "#0.00"): at least one integer digit, two decimals, no grouping, half away from
// zero on the decimal value (0.005 -> "0.01", 2.675 -> "2.68"). A text that is not a number
// comes back unchanged; empty stays empty; Null gives "". Overflow for an infinity, a NaN or
// a text whose number is too large.
QString Format(const ado::Variant& value, const QString& format);
QString Format00(double value);               // Format(value, "#0.00")

// Val(): the leading number of a text ("12abc" -> 12, "  1 2" -> 12, "abc" -> 0, "&H10" -> 16,
// "&HFFFF" -> -1 as a 16-bit literal); Overflow when it is too large.
double Val(const QString& text);
// The whole-text conversion (CDbl): leading/trailing blanks allowed, nothing else; raises
// ado::Error 13 when the text is not a number, 6 when it is too large. IsNumeric() tells
// without raising (a number too large is not numeric).
double CDbl(const QString& text);
bool IsNumeric(const QString& text);

// Trim, LTrim, RTrim remove blanks (spaces) only, not tabs or new lines.
QString Trim(const QString& text);
QString LTrim(const QString& text);
QString RTrim(const QString& text);

// English month names; MonthName(1) == "January". MonthNumber("march") == 3, 0 when unknown.
QString MonthName(int month);
int MonthNumber(const QString& name);

// Dates. FormatDate(d, "dd-mm-yy"), "mm-dd-yyyy", "mmmm", "dd-mm-yyyy", "yyyy-mm-dd".
QString FormatDate(const QDate& date, const QString& format);
// Two-digit years: 30..99 -> 1930..1999, 00..29 -> 2000..2029.
int FullYear(int twoDigitYear);
// DateSerial-like construction that fails (returns an invalid QDate) for no real date.
QDate MakeDate(int year, int month, int day);

// Runs one statement; any failure is swallowed. Returns true when it ran without error.
bool skip(const std::function<void()>& statement);

} // namespace vb
