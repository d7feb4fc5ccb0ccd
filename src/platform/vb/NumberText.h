// Numbers as text, the same on every machine: the one reader of the numbers the program finds
// in texts (cells, captions, typed search words, values of statements and stored columns) and
// the one writer of the numbers it stores as text. The point is the decimal separator and
// nothing else is a separator, whatever the process locale says: the application adopts the
// user's locale, and a decimal comma there must not change a stored figure.
//
// A number too large for a double is an overflow, never an infinity; one too small is 0.
#pragma once

#include <QString>
#include <QStringView>

namespace vb {

enum class NumberSyntax {
    // The whole text is one number, blanks around it allowed: an optional sign, digits with one
    // optional point, an optional exponent (E or D, optional sign, digits), or &H / &O followed by
    // hexadecimal or octal digits and an optional "&" (the runtime's CDbl and IsNumeric).
    Whole,
    // The number the text starts with, in the same forms; blanks, tabs and line ends anywhere in
    // the text are passed over, and reading stops at the first other character (Val).
    Leading,
    // The whole text is one amount, blanks around it allowed: an optional sign, digits, an
    // optional point with decimals. Commas may group the whole digits, in threes (1,200,000)
    // or the Indian way, in twos before the last three (12,00,000), one style per number; a
    // comma anywhere else (12,50, 1,2345, 1,00,000,000) makes the text no amount, so a decimal
    // comma is never read as a grouped thousand. No exponent, no &H, no blank inside.
    Amount,
};

enum class NumberRead {
    Number,     // `*out` holds it
    None,       // no number (Whole), or none at the start (Leading, Amount: `*out` is 0)
    Overflow,   // too large for a double (`*out` is 0)
};

NumberRead readNumber(QStringView text, NumberSyntax syntax, double* out);

// The shortest text that reads back as the same number: "1125.5", "0", "-0.25", "1e+21".
// Raises ado::Error 6 (Overflow) for an infinity or NaN.
QString numberText(double value);

// The number rounded half away from zero to `decimals` places, on its shortest decimal form
// (2.675 gives "2.68", not the binary value's "2.67"), with at least one integer digit, no
// grouping and no negative zero: "#0.00" is fixedText(value, 2). Raises ado::Error 6 (Overflow)
// for an infinity or NaN.
QString fixedText(double value, int decimals);

} // namespace vb
