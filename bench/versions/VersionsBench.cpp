// The in-memory work of one save of a later-version character: read the
// largest real file, change its gold, rebuild it and check the rebuilt image
// (Build runs the self-check). The disk is not involved.

#include "format/Build.h"
#include "format/Parse.h"

#include <benchmark/benchmark.h>

#include <QFile>

namespace {

QByteArray LargestSample()
{
    QFile file(QStringLiteral(QUARVINEL_TEST_DATA "/v98_sorceress_level66.d2s"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void LoadRebuildCheck(benchmark::State &state)
{
    const QByteArray original = LargestSample();
    Format::BuildResult built;
    quint32 gold = 0;
    for (auto _ : state) {
        Format::ParseResult opened = Format::Parse(original);
        opened.character.stats[FieldId::Gold] = ++gold % 100000;
        built = Format::Build(opened.character, original);
        benchmark::DoNotOptimize(built.image.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * original.size());
    if (original.isEmpty() || !built.Built())
        state.SkipWithError("the sample did not rebuild");
}

} // namespace

// Target: at most 200 µs per iteration.
BENCHMARK(LoadRebuildCheck)->Name("versions_load_rebuild_check_largest_sample")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
