// Amounts on the register screen: the one reading of a money figure, for the cells (Amount,
// Tax, Cess, the row total), the total labels and everything that reads them back (the row
// and panel totals, the month summary, the page exports), and the largest amount a cell takes.
#pragma once

#include <QString>

namespace f10 {

// The largest amount a cell takes, of either sign (just under ten crore). A cell, a rate
// label and a printed register column show it whole; a row total of three such figures and
// a grid total of eighteen show whole too.
inline constexpr double kLargestAmount = 99999999.99;

enum class AmountRead { Empty, Number, NotANumber, TooLarge };

// Reads a figure's whole text (blanks around it, an optional sign, digits grouped by commas
// in threes or the Indian way, decimals): Empty for a blank text (value 0), Number, NotANumber,
// or TooLarge when it is beyond kLargestAmount once brought to two decimals.
AmountRead readAmount(const QString& text, double* value);

// The value of a figure (a cell, a total label) by the same reading, with no upper limit:
// 0 when it is empty or not a number.
double amountValue(const QString& text);

// "#0.00" of a text that reads as an amount; any other text as it stands.
QString amountText(const QString& text);

// Says why a cell's text is refused: the text, where it is, and what a cell takes.
QString refusedAmountMessage(const QString& text, AmountRead why, const QString& grid, int row,
                             const QString& column);

} // namespace f10
