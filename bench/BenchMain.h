// Benchmarks of GUI code need one QApplication; they run offscreen unless told otherwise.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#define TARVIK_GUI_BENCHMARK_MAIN()                                                                \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {                                      \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        }                                                                                          \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
