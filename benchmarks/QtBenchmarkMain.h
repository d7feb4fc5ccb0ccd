// The main of a benchmark that needs windows: an offscreen application around the runs.
// `beforeExit` lets a benchmark drop its windows before the application goes.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

// The one fixture of a benchmark program: made at its first use, inside the application, and
// dropped (fixtureSlot<F>().reset()) before the application goes.
template <class F>
std::unique_ptr<F>& fixtureSlot()
{
    static std::unique_ptr<F> f;
    return f;
}

template <class F>
F& sharedFixture()
{
    auto& f = fixtureSlot<F>();
    if (!f)
        f = std::make_unique<F>();
    return *f;
}

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
