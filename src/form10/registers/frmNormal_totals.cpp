// Per-rate totals under each register grid. The label captions are the only place the
// month's totals are kept: the month summary and the page exports read them back by name,
// so each holds exactly its sum formatted "#0.00".
#include "form10/registers/frmNormal.h"

#include "form10/registers/AmountText.h"
#include "form10/registers/RateLabels.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>
#include <cmath>

namespace {

using f10::RateLabels;

// Adds the cell's amount, read as the cells are read; a cell that is not a number adds nothing,
// and neither does an addition that would overflow the sum.
void addCell(const ui::FlexGrid& grid, int row, int col, double& sum)
{
    try {
        const double value = f10::amountValue(grid.TextMatrix(row, col));
        if (std::isfinite(sum + value))
            sum += value;
    } catch (...) {
        // skipped, as any failing addition
    }
}

// One pass over the bill rows: the grand total of column 9 and, per rate matched by its
// trimmed text (exact, case-sensitive), the sums of columns 6, 7 and 8.
template <size_t N>
void computeTotals(frmNormal& form, const ui::FlexGrid& grid, const RateLabels (&rates)[N], ui::TextBox& grandTotal)
{
    double total = 0;
    double amount[N] = {}, tax[N] = {}, cess[N] = {};
    for (int r = 1; r < grid.Rows(); ++r) {
        addCell(grid, r, 9, total);
        QString rate;
        try {
            rate = vb::Trim(grid.TextMatrix(r, 5));
        } catch (...) {
            continue;
        }
        for (size_t i = 0; i < N; ++i) {
            if (rate == QLatin1String(rates[i].rate)) {
                addCell(grid, r, 6, amount[i]);
                addCell(grid, r, 7, tax[i]);
                addCell(grid, r, 8, cess[i]);
                break;
            }
        }
    }
    grandTotal.setText(vb::Format00(total));
    for (size_t i = 0; i < N; ++i)
        (form.*rates[i].amount)->setText(vb::Format00(amount[i]));
    for (size_t i = 0; i < N; ++i)
        (form.*rates[i].tax)->setText(vb::Format00(tax[i]));
    for (size_t i = 0; i < N; ++i)
        (form.*rates[i].cess)->setText(vb::Format00(cess[i]));
}

} // namespace

void frmNormal::procTotalCal1()
{
    computeTotals(*this, *fg1, f10::kPurchaseRateLabels, *txtTotal);
}

void frmNormal::procTotalCal2()
{
    computeTotals(*this, *fg2, f10::kSalesRateLabels, *txtTotal2);
}
