// Which of the register screen's total labels hold a rate's sums. The totals fill them; the
// month summary and the page exports read them back, all through these two tables.
#pragma once

#include "form10/registers/frmNormal.h"

namespace f10 {

struct RateLabels {
    const char* rate;   // the rate as column 5 holds it, trimmed
    QLabel* frmNormal::*amount;
    QLabel* frmNormal::*tax;
    QLabel* frmNormal::*cess;
};

// Under fg1, rates 0, 1, 4, 12.5, 20.
inline constexpr RateLabels kPurchaseRateLabels[] = {
    {"0", &frmNormal::Label12, &frmNormal::Label16, &frmNormal::Label58},
    {"1", &frmNormal::Label13, &frmNormal::Label17, &frmNormal::Label57},
    {"4", &frmNormal::Label14, &frmNormal::Label18, &frmNormal::Label56},
    {"12.5", &frmNormal::Label15, &frmNormal::Label19, &frmNormal::Label62},
    {"20", &frmNormal::Label10, &frmNormal::Label34, &frmNormal::Label61},
};

// Under fg2, rates 0, 1, 4, 12.5, CST, 20.
inline constexpr RateLabels kSalesRateLabels[] = {
    {"0", &frmNormal::Label23, &frmNormal::Label27, &frmNormal::Label50},
    {"1", &frmNormal::Label22, &frmNormal::Label26, &frmNormal::Label49},
    {"4", &frmNormal::Label21, &frmNormal::Label25, &frmNormal::Label48},
    {"12.5", &frmNormal::Label20, &frmNormal::Label24, &frmNormal::Label54},
    {"CST", &frmNormal::Label35, &frmNormal::Label36, &frmNormal::Label53},
    {"20", &frmNormal::Label45, &frmNormal::Label44, &frmNormal::Label52},
};

} // namespace f10
