// Law documents through the RTF reader into a document view, laid out in full: generated
// documents of 100 KB, 1 MB and 4 MB in three shapes (paragraphs of thousands of formatting
// runs, a long schedule of 63-cell rows, plain paragraphs). The time per MB must stay flat as
// the document grows (4 MB within 5x of 1 MB), and a 2 MB document must be on screen in under
// 250 ms; the whole of it follows in the view while the window answers.
#include "QtBenchmarkMain.h"
#include "platform/ui/documents/OleView.h"
#include "platform/ui/documents/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qsizetype kKB = 1024;

enum Shape { Runs, Table, Paragraphs };

const QByteArray kHead = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                         "{\\colortbl ;\\red0\\green0\\blue160;}\\viewkind4\\uc1\\pard\\f1\\fs24 ";

// A document of about `bytes` bytes of the given shape.
QByteArray document(Shape shape, qsizetype bytes)
{
    QByteArray rtf = kHead;
    rtf.reserve(bytes + 4096);
    int n = 0;
    qsizetype paragraphStart = rtf.size();
    while (rtf.size() < bytes) {
        switch (shape) {
        case Runs:   // paragraphs of 100 KB, each of some 7,000 bold, italic and coloured runs
            rtf += (n % 3 == 0) ? "\\b section\\b0  " : (n % 3 == 1) ? "{\\i read with} " : "{\\cf1 rule 10} ";
            if (rtf.size() - paragraphStart >= 100 * kKB) {
                rtf += "\\par\r\n";
                paragraphStart = rtf.size();
            }
            break;
        case Table:   // a schedule: rows of 63 cells
            rtf += "\\trowd";
            for (int c = 1; c <= 63; ++c)
                rtf += "\\cellx" + QByteArray::number(c * 160);
            rtf += "\\pard\\intbl ";
            for (int c = 0; c < 63; ++c)
                rtf += (c == 0 ? QByteArray::number(n) : QByteArray("4")) + "\\cell ";
            rtf += "\\row\r\n";
            break;
        case Paragraphs:
            rtf += "\\pard\\qj\\fi360 Every dealer registered under this Act shall pay tax on the taxable "
                   "turnover of goods at the rates given in the Schedules, as set out in section "
                   + QByteArray::number(n) + ".\\par\r\n";
            break;
        }
        ++n;
    }
    return rtf + "\\pard\\par}";
}

// Gives the document to a shown document view (as the document window does) and lays it out
// to its end.
void BM_LoadAndLayOut(benchmark::State& state)
{
    const auto shape = static_cast<Shape>(state.range(0));
    const QByteArray rtf = document(shape, state.range(1) * kKB);
    ui::OleView view(QStringLiteral("OLE1"));
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    QElapsedTimer clock;
    qint64 ms = 0;
    for (auto _ : state) {
        clock.start();
        view.setData(rtf);
        while (view.isLoading())
            QApplication::processEvents();
        benchmark::DoNotOptimize(view.document()->documentLayout()->documentSize());
        QApplication::processEvents();
        ms += clock.elapsed();
        view.setData({});
    }
    const double mb = double(rtf.size()) / (kKB * kKB);
    state.counters["MB"] = mb;
    state.counters["ms_per_MB"] = double(ms) / double(state.iterations()) / mb;
}
BENCHMARK(BM_LoadAndLayOut)
    ->ArgNames({"shape", "KB"})
    ->ArgsProduct({{Runs, Table, Paragraphs}, {100, 1024, 4096}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Reading alone, into a document nothing lays out.
void BM_Read(benchmark::State& state)
{
    const QByteArray rtf = document(static_cast<Shape>(state.range(0)), state.range(1) * kKB);
    for (auto _ : state) {
        QTextDocument doc;
        ui::RtfReader::read(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
}
BENCHMARK(BM_Read)->ArgNames({"shape", "KB"})->ArgsProduct({{Runs, Table, Paragraphs}, {100, 1024}})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The 2 MB document of each shape, from the bytes to the first paint of a new document view
// (the rest is laid out in steps afterwards), or to the whole document in the view: its first
// part shown, the rest read between the window's events, the whole handed over and painted.
void BM_TwoMegabytesOnScreen(benchmark::State& state)
{
    const QByteArray rtf = document(static_cast<Shape>(state.range(0)), 2048 * kKB);
    const bool whole = state.range(1) != 0;
    for (auto _ : state) {
        auto view = std::make_unique<ui::OleView>(QStringLiteral("OLE1"));
        view->resize(800, 600);
        view->show();
        view->setData(rtf);
        while (whole && view->isLoading())
            QApplication::processEvents();
        view->repaint();
        QApplication::processEvents();
        state.PauseTiming();   // the view goes, with its document
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TwoMegabytesOnScreen)
    ->ArgNames({"shape", "whole"})
    ->ArgsProduct({{Runs, Table, Paragraphs}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
