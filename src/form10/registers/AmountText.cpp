#include "form10/registers/AmountText.h"

#include "platform/vb/NumberText.h"
#include "platform/vb/Vb.h"

#include <cmath>

namespace f10 {

AmountRead readAmount(const QString& text, double* value)
{
    *value = 0;
    if (text.trimmed().isEmpty())
        return AmountRead::Empty;
    double v = 0;
    switch (vb::readNumber(text, vb::NumberSyntax::Amount, &v)) {
    case vb::NumberRead::Number:
        break;
    case vb::NumberRead::Overflow:
        return AmountRead::TooLarge;
    case vb::NumberRead::None:
        return AmountRead::NotANumber;
    }
    // Compared as shown: 99,999,999.994 shows as the largest amount, 99,999,999.995 does not.
    if (std::fabs(amountValue(vb::Format00(v))) > kLargestAmount)
        return AmountRead::TooLarge;
    *value = v;
    return AmountRead::Number;
}

double amountValue(const QString& text)
{
    double v = 0;
    return vb::readNumber(text, vb::NumberSyntax::Amount, &v) == vb::NumberRead::Number ? v : 0;
}

QString amountText(const QString& text)
{
    double v = 0;
    return vb::readNumber(text, vb::NumberSyntax::Amount, &v) == vb::NumberRead::Number ? vb::Format00(v) : text;
}

QString refusedAmountMessage(const QString& text, AmountRead why, const QString& grid, int row, const QString& column)
{
    return QStringLiteral("\"%1\" in row %2 of the %3 grid, column %4, %5.\r\n\r\n")
               .arg(text.trimmed())
               .arg(row)
               .arg(grid, column,
                    why == AmountRead::TooLarge ? QStringLiteral("is too large") : QStringLiteral("is not an amount"))
           + QStringLiteral("An amount is a number up to 9,99,99,999.99 (99,999,999.99), written with or without "
                            "grouping commas (1,20,000.50 or 120,000.50), with an optional sign and decimals.");
}

} // namespace f10
