// The main of a benchmark that needs windows: an offscreen application around the runs.
// `beforeExit` lets a benchmark drop its windows before the application goes.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <functional>

inline int runQtBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit)
        beforeExit();
    return 0;
}
