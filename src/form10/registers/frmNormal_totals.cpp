// Per-rate totals under each register grid. The label captions are the only place the
// month's totals are kept: the month summary and the page exports read them back by name,
// so each holds exactly its sum formatted "#0.00".
#include "form10/registers/frmNormal.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>
#include <cmath>

namespace {

struct RateLabels {
    const char* rate;
    QLabel* amount;
    QLabel* tax;
    QLabel* cess;
};

// Adds the cell's whole-text number; a cell that is not a number as a whole adds nothing, and
// neither does an addition that would overflow the sum.
void addCell(const ui::FlexGrid& grid, int row, int col, double& sum)
{
    try {
        const QString text = grid.TextMatrix(row, col);
        if (!vb::IsNumeric(text))
            return;
        const double value = vb::CDbl(text);
        if (std::isfinite(sum + value))
            sum += value;
    } catch (...) {
        // skipped, as any failing addition
    }
}

// One pass over the bill rows: the grand total of column 9 and, per rate matched by its
// trimmed text (exact, case-sensitive), the sums of columns 6, 7 and 8.
template <size_t N>
void computeTotals(const ui::FlexGrid& grid, const RateLabels (&rates)[N], ui::TextBox& grandTotal)
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
        rates[i].amount->setText(vb::Format00(amount[i]));
    for (size_t i = 0; i < N; ++i)
        rates[i].tax->setText(vb::Format00(tax[i]));
    for (size_t i = 0; i < N; ++i)
        rates[i].cess->setText(vb::Format00(cess[i]));
}

} // namespace

void frmNormal::procTotalCal1()
{
    const RateLabels rates[] = {
        {"0", Label12, Label16, Label58},
        {"1", Label13, Label17, Label57},
        {"4", Label14, Label18, Label56},
        {"12.5", Label15, Label19, Label62},
        {"20", Label10, Label34, Label61},
    };
    computeTotals(*fg1, rates, *txtTotal);
}

void frmNormal::procTotalCal2()
{
    const RateLabels rates[] = {
        {"0", Label23, Label27, Label50},
        {"1", Label22, Label26, Label49},
        {"4", Label21, Label25, Label48},
        {"12.5", Label20, Label24, Label54},
        {"CST", Label35, Label36, Label53},
        {"20", Label45, Label44, Label52},
    };
    computeTotals(*fg2, rates, *txtTotal2);
}
