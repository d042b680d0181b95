// Every item of the largest real file read in memory: the character parsed,
// its four lists found and each of their items decoded by its version's rules
// (items_decode_largest_sample), and the same as the front ends read it, with
// each item's name and the wording of its properties (items_view_largest_sample,
// what `brennicor-cli items` and the Items dialog do per file). The disk is
// not involved.

#include "CharacterItems.h"
#include "format/items/ItemLists.h"

#include <benchmark/benchmark.h>

#include <QFile>

namespace {

// The largest real file of tests/data: a version-98 character with 54 items of
// its own, 3 of its mercenary's and the items socketed into them.
QByteArray LargestSample()
{
    QFile file(QStringLiteral(QUARVINEL_TEST_DATA "/v98_sorceress_level66.d2s"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr int kItems = 54 + 3;

void DecodeLargest(benchmark::State &state)
{
    const QByteArray image = LargestSample();
    int decoded = 0;
    bool complete = false;
    for (auto _ : state) {
        const Format::Items::ItemLists read = Format::Items::ReadItemLists(image);
        decoded = 0;
        complete = read.note.isEmpty();
        for (const auto &list : read.lists) {
            decoded += list.Decoded();
            complete = complete && list.Complete();
        }
        benchmark::DoNotOptimize(read.lists.data());
    }
    state.counters["items"] = decoded;
    if (!complete || decoded != kItems)
        state.SkipWithError("the sample's items were not all read");
}

void ViewLargest(benchmark::State &state)
{
    const QByteArray image = LargestSample();
    int decoded = 0;
    bool named = false;
    for (auto _ : state) {
        const CharacterItems::Items items = CharacterItems::ReadItems(image);
        decoded = 0;
        named = items.note.isEmpty();
        for (const auto &list : items.lists) {
            decoded += list.decoded;
            for (const auto &item : list.items)
                named = named && !item.name.isEmpty();
        }
        benchmark::DoNotOptimize(items.lists.data());
    }
    state.counters["items"] = decoded;
    if (!named || decoded != kItems)
        state.SkipWithError("the sample's items were not all read and named");
}

} // namespace

// Target: at most 100 µs per iteration.
BENCHMARK(DecodeLargest)->Name("items_decode_largest_sample")->Unit(benchmark::kMicrosecond);
// No target of its own: what the command line's items adds to the decoding.
BENCHMARK(ViewLargest)->Name("items_view_largest_sample")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
