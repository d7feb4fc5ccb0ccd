// The report control and its preview window: the properties, a run, the toolbar (pages,
// zoom, page setup, print, export) with the dialogs answered by the test responders.
#include "ReportTestUtil.h"

#include "PdfText.h"
#include "WaitFor.h"
#include "../UiTestUtil.h"
#include "platform/ui/forms/CommonDialogs.h"
#include "platform/ui/reports/CrystalReport.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/reports/ReportPreview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

using namespace ui;
using reporttest::ReportFiles;

namespace {

class ReportControl : public ::testing::Test {
protected:
    ReportControl()
    {
        files.exec("INSERT INTO tHead VALUES ('D1', 'March', 'Sree Traders', 1, 2, 3);");
        owner.resize(400, 300);
        owner.show();
        report.setDataFiles(0, files.data());
        report.setReportFileName(files.templ());
    }
    ~ReportControl() override { QApplication::processEvents(); }
    ReportPreview* run()
    {
        report.setAction(1);
        QApplication::processEvents();
        return report.previewWindow();
    }
    void clickTool(const char* action)
    {
        auto* bar = report.previewWindow()->findChild<QToolBar*>("tbrPreview");
        auto* a = bar->findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        ASSERT_TRUE(a->isEnabled()) << action;
        QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
        QApplication::processEvents();
    }
    QString problemOfRun()
    {
        try {
            run();
        } catch (const ReportError& e) {
            return e.text();
        }
        return "ran";
    }

    ReportFiles files;
    QWidget owner;
    CrystalReport report{"CrystalReport1", &owner};
    ScopedMsgBoxResponder answers;
};

TEST_F(ReportControl, ActionOneShowsTheReportInAWindowOfTheOwnerAndRunsAgainOnNewData)
{
    report.setDataFiles(2, "third");
    EXPECT_EQ(report.DataFiles(0), files.data());
    EXPECT_EQ(uitest::errorNumber([&] { report.setDataFiles(-1, "x"); }), 5);
    report.setAction(0);   // only 1 runs
    EXPECT_EQ(report.previewWindow(), nullptr);

    files.bills(2);
    ReportPreview* w = run();
    ASSERT_NE(w, nullptr);
    EXPECT_EVENTUALLY(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Bill List");
    EXPECT_EQ(w->parentWidget(), &owner);
    EXPECT_TRUE(w->isWindow());
    EXPECT_FALSE(w->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(w->layout().plainText().contains("2  Party 2  20.00"));

    // Run again after the data changed: the same window shows the new data, maximised.
    files.bills(3);
    report.setWindowState(2);
    EXPECT_EQ(run(), w);
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w->layout().plainText().count("Party 2"), 2);   // 2 + 3 bills now

    // Another template: a window of its own.
    QFile::copy(files.templ(), files.path("Other.rpt"));
    report.setReportFileName(files.path("Other.rpt"));
    ReportPreview* other = run();
    EXPECT_NE(other, w);
}

TEST_F(ReportControl, AFailedRunRaisesNamingTheFileAndShowsNothing)
{
    report.setReportFileName(files.path("Missing.rpt"));
    EXPECT_EQ(problemOfRun(), files.path("Missing.rpt") + ": the report template is not there");
    report.setReportFileName("");
    EXPECT_EQ(problemOfRun(), "CrystalReport1: no report template was named");
    report.setReportFileName(files.templ());
    report.setDataFiles(0, "");
    EXPECT_EQ(problemOfRun(), files.templ() + ": the report was given no data file");
    EXPECT_EQ(report.previewWindow(), nullptr);

    // The program's '\' paths are read as local ones.
    report.setDataFiles(0, QString(files.data()).replace('/', '\\'));
    report.setReportFileName(QString(files.templ()).replace('/', '\\'));
    EXPECT_EQ(problemOfRun(), "ran");
    ASSERT_NE(report.previewWindow(), nullptr);

    // A failed run leaves the window that is open as it was.
    files.writeTemplate("lumora-report 1\ntitle \"Broken\"\ndetail tNone\n column A \"A\" 1\nend\n");
    EXPECT_TRUE(problemOfRun().endsWith(", line 3: the data file data.mdb has no table \"tNone\""));
    EXPECT_EQ(report.previewWindow()->windowTitle(), "Bill List");
}

// Each month's report is offered under a name of its own; without a month, the title alone.
TEST_F(ReportControl, ExportOffersAFileNamedAfterTheReportAndItsMonth)
{
    const struct {
        const char* month;
        const char* offered;
    } cases[] = {
        {"March", "/Bill List - March.pdf"},
        {"November ", "/Bill List - November.pdf"},
        {"Mar/Apr", "/Bill List - Mar-Apr.pdf"},   // no folder made of a month
        {"  ", "/Bill List.pdf"},
    };
    ScopedSaveFileAnswer answer("");   // cancelled: nothing is written
    for (const auto& c : cases) {
        files.exec(QString("UPDATE tHead SET cMonth = '%1';").arg(c.month));
        run();
        clickTool("actExportPdf");
        EXPECT_TRUE(answer.lastRequest().suggestedPath.endsWith(c.offered)) << answer.lastRequest().suggestedPath.toStdString();
    }
}

// A report of several pages through the preview's toolbar: a typed page, the zoom, print of the
// pages the dialog chose, export of the whole report, and the page setup laying it out again.
TEST_F(ReportControl, TheToolbarPagesZoomsPrintsExportsAndLaysTheReportOutAgain)
{
    files.bills(130);
    ReportPreview* w = run();
    ASSERT_NE(w, nullptr);
    const int pages = w->pageCount();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(int(w->layout().pages.size()), pages);
    auto* page = w->findChild<QSpinBox*>("spnPage");
    EXPECT_FALSE(w->findChild<QAction*>("actPreviousPage")->isEnabled());
    page->selectAll();
    QTest::keyClicks(page, "3");
    QTest::keyClick(page, Qt::Key_Return);
    EXPECT_EQ(w->currentPage(), 3);
    EXPECT_TRUE(w->findChild<QAction*>("actPreviousPage")->isEnabled());
    EXPECT_EQ(w->findChild<QLabel*>("lblPageCount")->text(), QString("of %1").arg(pages));

    auto* view = w->findChild<QPrintPreviewWidget*>("ppvReport");
    auto* zoom = w->findChild<QComboBox*>("cboZoom");
    clickTool("actFitPage");
    EXPECT_EQ(view->zoomMode(), QPrintPreviewWidget::FitInView);
    const double fit = view->zoomFactor();
    clickTool("actZoomIn");
    EXPECT_NEAR(view->zoomFactor(), fit * 1.25, 1e-6);
    EXPECT_EQ(zoom->currentText(), QString::number(std::lround(view->zoomFactor() * 100)) + "%");
    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom, "200");
    QTest::keyClick(zoom, Qt::Key_Return);
    EXPECT_NEAR(view->zoomFactor(), 2.0, 1e-6);

    // Print, to a PDF file standing for the printer, page 2 only; cancelled, nothing.
    QTemporaryDir out;
    const auto print = [&](const QString& name, bool ok) {
        ScopedPrinterDialogs dialogs([&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(out.filePath(name));
            p.setPrintRange(QPrinter::PageRange);
            p.setFromTo(2, 2);
            return ok;
        });
        clickTool("actPrint");
    };
    print("printed.pdf", true);
    print("cancelled.pdf", false);
    const QString printed = pdfText(out.filePath("printed.pdf"));
    EXPECT_TRUE(printed.contains(QString("Page 2 of %1").arg(pages))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QString("Page 1 of"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains("Party 1 ")) << printed.toStdString();
    EXPECT_FALSE(QFile::exists(out.filePath("cancelled.pdf")));
    EXPECT_EQ(w->pageCount(), pages);   // the preview still shows every page

    // Export: the dialog offers the title and the month as the file name; ".pdf" is added
    // when missing.
    ScopedSaveFileAnswer answer(out.filePath("bills"));
    clickTool("actExportPdf");
    EXPECT_TRUE(answer.lastRequest().suggestedPath.endsWith("/Bill List - March.pdf"));
    EXPECT_EQ(answer.lastRequest().filter, "PDF files (*.pdf)");
    const QString pdf = pdfText(out.filePath("bills.pdf"));
    for (int i = 1; i <= pages; ++i)
        EXPECT_TRUE(pdf.contains(QString("Page %1 of %2").arg(i).arg(pages)));
    EXPECT_TRUE(pdf.contains("Sree Traders"));
    EXPECT_TRUE(pdf.contains(QRegularExpression("130 +Party 130 +1300.00")));
    EXPECT_TRUE(pdf.contains(QRegularExpression("Total +3.00")));
    // Cancelled: nothing written, nothing said. A place that cannot be written: a message
    // naming it.
    answer.setPath("");
    clickTool("actExportPdf");
    EXPECT_TRUE(answers.messages().empty());
    answer.setPath(out.filePath("no such folder/bills.pdf"));
    clickTool("actExportPdf");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_TRUE(answers.messages()[0].prompt.contains(out.filePath("no such folder/bills.pdf")));
    EXPECT_EQ(answers.messages()[0].icon(), vbCritical);

    // Landscape from the page setup: the report is laid out on the wider page.
    ScopedPrinterDialogs dialogs({}, [](QPrinter& p) {
        p.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    clickTool("actPageSetup");
    EXPECT_GT(w->layout().pageSize.width(), w->layout().pageSize.height());
    EXPECT_GT(w->pageCount(), pages);
    EXPECT_EQ(int(w->layout().pages.size()), w->pageCount());
}

} // namespace
