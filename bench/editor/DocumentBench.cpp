// The document's whole-file load and save over a 64 MiB image, and the write
// of every panel field that follows each accepted box. The image is saved to a
// file of its own, through the same atomic save as File, Save, so the file it
// was loaded from stays as it was for the next round.

#include "EditorBench.h"

#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/PanelFields.h"
#include "support/ScriptedPrompts.h"

#include <QFileInfo>

namespace {

// A document whose file name can be pointed elsewhere after a load, so that
// Save writes there.
class BenchDoc : public CDiablo2Doc
{
public:
    void SaveTo(const QString &path) { m_strFileName = path; }
};

bool Loaded(const BenchDoc &doc, quint32 expectedSize)
{
    return doc.GetSize() == expectedSize && doc.GetUInt(562, 563) == 0xFFFF;
}

// Argument: 0 for a file with every stat value present, 1 for one that the
// load has to expand (three values inserted, the whole image moved).
QString Source(bool expanding)
{
    return expanding ? BenchFiles::Get().BigExpanding() : BenchFiles::Get().Big();
}

quint32 ExpandedSize(bool expanding)
{
    return BenchFiles::BigLength + (expanding ? 12 : 0);
}

void Load(benchmark::State &state, bool expanding)
{
    const QString source = Source(expanding);
    ScriptedPrompts prompts;
    BenchDoc doc;
    for (auto _ : state)
        doc.OpenFile(source);
    state.SetBytesProcessed(int64_t(state.iterations()) * BenchFiles::BigLength);
    if (!prompts.messages.isEmpty() || !Loaded(doc, ExpandedSize(expanding)))
        state.SkipWithError("the image did not load");
}

void Save(benchmark::State &state)
{
    ScriptedPrompts prompts;
    BenchDoc doc;
    doc.OpenFile(Source(false));
    const QString target = BenchFiles::Get().OutputPath(QStringLiteral("Saved.d2s"));
    doc.SaveTo(target);
    for (auto _ : state)
        doc.Save();
    state.SetBytesProcessed(int64_t(state.iterations()) * BenchFiles::BigLength);
    if (!prompts.messages.isEmpty() || QFileInfo(target).size() != BenchFiles::BigLength)
        state.SkipWithError("the image was not saved");
}

// Load, then save: the whole round of a file through the editor.
void LoadAndSave(benchmark::State &state, bool expanding)
{
    const QString source = Source(expanding);
    const QString target = BenchFiles::Get().OutputPath(QStringLiteral("Saved.d2s"));
    ScriptedPrompts prompts;
    BenchDoc doc;
    for (auto _ : state) {
        doc.OpenFile(source);
        doc.SaveTo(target);
        doc.Save();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * BenchFiles::BigLength * 2);
    if (!prompts.messages.isEmpty() || !Loaded(doc, ExpandedSize(expanding))
        || QFileInfo(target).size() != ExpandedSize(expanding))
        state.SkipWithError("the image did not go through load and save");
}

// The panel's fields written back from the field table, as every accepted box
// of the window and every `set` does, with the fields read again after it.
void PanelFieldsWriteBack(benchmark::State &state)
{
    ScriptedPrompts prompts;
    BenchDoc doc;
    doc.OpenFile(BenchFiles::Get().Character());
    quint32 value = 0;
    for (auto _ : state) {
        ++value;
        EditScope scope(doc);
        Character character(doc);
        for (const PanelField &field : kPanelFields)
            character.SetNumber(field.id, value & 0x1FFF);
        scope.Commit();
    }
    for (const PanelField &field : kPanelFields) {
        if (CharacterView(doc).Number(field.id) != (value & 0x1FFF))
            state.SkipWithError(qPrintable(QStringLiteral("%1 was not written").arg(QLatin1String(field.key))));
    }
}

} // namespace

void RegisterDocumentBenchmarks()
{
    using benchmark::kMillisecond;
    AddBenchmark("load_save_64MiB", 300e6, kMillisecond,
                 [](benchmark::State &state) { LoadAndSave(state, false); });
    AddBenchmark("load_save_64MiB_expanding", 300e6, kMillisecond,
                 [](benchmark::State &state) { LoadAndSave(state, true); });
    AddBenchmark("load_64MiB", 0, kMillisecond, [](benchmark::State &state) { Load(state, false); });
    AddBenchmark("load_64MiB_expanding", 0, kMillisecond, [](benchmark::State &state) { Load(state, true); });
    AddBenchmark("save_64MiB", 0, kMillisecond, Save);
    AddBenchmark("panel_fields_write_back", 0, benchmark::kMicrosecond, PanelFieldsWriteBack);
}
