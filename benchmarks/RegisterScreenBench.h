// The register screen of a benchmark: a program folder of its own, and both grids holding
// 1,000 bills at the rates of their pickers, dates spread over the month.
#pragma once

#include "databuild/DataBuilder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/forms/Form.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>

constexpr int kBills = 1000;

inline void fillGrid(ui::FlexGrid& grid, const QStringList& rates)
{
    grid.setRows(kBills + 1);
    for (int r = 1; r <= kBills; ++r) {
        const double amount = 100 + r % 97;
        const double tax = amount * 0.04;
        grid.setTextMatrix(r, 0, QString::number(r));
        grid.setTextMatrix(r, 1, QStringLiteral("%1-03-09").arg(1 + r % 28, 2, 10, QLatin1Char('0')));
        grid.setTextMatrix(r, 2, QStringLiteral("Party %1").arg(r));
        grid.setTextMatrix(r, 3, QStringLiteral("TIN%1").arg(r));
        grid.setTextMatrix(r, 4, QStringLiteral("B%1").arg(r));
        grid.setTextMatrix(r, 5, rates.at(r % rates.size()));
        grid.setTextMatrix(r, 6, QString::number(amount, 'f', 2));
        grid.setTextMatrix(r, 7, QString::number(tax, 'f', 2));
        grid.setTextMatrix(r, 8, QStringLiteral("0.00"));
        grid.setTextMatrix(r, 9, QString::number(amount + tax, 'f', 2));
    }
}

struct RegisterScreenFixture {
    QTemporaryDir dir;
    frmNormal* screen = nullptr;

    RegisterScreenFixture()
    {
        QString error;
        if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), dir.path(), &error))
            qFatal("program folder: %s", qPrintable(error));
        sys::setProgramFolder(dir.path());
        resetModule2();
        screen = &ui::form<frmNormal>();
        screen->Show();
        QApplication::processEvents();
        fillGrid(*screen->fg1, {QStringLiteral("      0"), QStringLiteral("      4"), QStringLiteral("    12.5")});
        fillGrid(*screen->fg2, {QStringLiteral("      4"), QStringLiteral("     20  "), QStringLiteral("     CST ")});
    }
};
