#pragma once

// The editor's in-process benchmarks: the real main window and tools on the
// offscreen platform, the real document on files in a temporary folder. Every
// figure is wall-clock time per operation; each benchmark checks after its
// loop that the operation did what it should, so a figure never comes from a
// step that did nothing.

#include <benchmark/benchmark.h>

#include <QString>
#include <QTemporaryDir>

#include <functional>

// Registers a benchmark with the target its median must meet (0: none).
void AddBenchmark(const char *name, double targetNs, benchmark::TimeUnit unit,
                  std::function<void(benchmark::State &)> body);
// Registers a benchmark whose median must be at most factor times the median
// of the benchmark named reference, measured in the same run.
void AddBenchmarkAgainst(const char *name, const char *reference, double factor, benchmark::TimeUnit unit,
                         std::function<void(benchmark::State &)> body);

// Each area registers its benchmarks.
void RegisterMainWindowBenchmarks();
void RegisterToolBenchmarks();
void RegisterDocumentBenchmarks();

// Work to do before the application object goes (windows, documents).
void AtSessionEnd(std::function<void()> teardown);

// The files the benchmarks work on, written once on first use.
class BenchFiles
{
public:
    static BenchFiles &Get();

    // An ordinary character: a level-42 Paladin, every stat value present.
    QString Character();
    // A copy of a real file of version 96, a level-94 Sorceress
    // (tests/data/v96_sorceress_level94.d2s), under its own name.
    QString RealVersion96();
    static constexpr const char *RealVersion96FileName = "v96_sorceress_level94.d2s";
    // A 64 MiB image starting with a complete character, every stat value present.
    QString Big();
    // The same with experience, gold and gold in the stash left out, so that
    // the load's expansion moves the whole image.
    QString BigExpanding();
    // A path in the temporary folder to save to.
    QString OutputPath(const QString &name) const;

    static constexpr quint32 BigLength = 64u << 20;

private:
    BenchFiles();
    QTemporaryDir m_dir;
    QString m_character;
    QString m_realVersion96;
    QString m_big;
    QString m_bigExpanding;
};
