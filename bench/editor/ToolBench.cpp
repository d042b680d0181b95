// The raw byte tools over a 64 MiB image: Find Next of the Find value tool with
// no match, and the Compare tool's walk with no difference. Both dialogs are
// the real ones, shown on the offscreen platform, and are driven through their
// buttons' commands.

#include "EditorBench.h"

#include "tools/CompareDlg.h"
#include "document/Diablo2Doc.h"
#include "tools/FindValueDlg.h"
#include "resources/ToolDialogIds.h"
#include "support/ScriptedPrompts.h"

#include <QCoreApplication>

#include <memory>

namespace {

// The 64 MiB image, loaded once for both tools.
CDiablo2Doc &BigDocument()
{
    static CDiablo2Doc *doc = nullptr;
    if (!doc) {
        doc = new CDiablo2Doc;
        AtSessionEnd([] {
            delete doc;
            doc = nullptr;
        });
        if (!doc->OpenFile(BenchFiles::Get().Big()) || doc->GetSize() != BenchFiles::BigLength)
            qFatal("cannot load the 64 MiB image");
    }
    return *doc;
}

// A value of the given width in bytes that the image does not hold: its bytes
// are 0x7F, which the filler of the image never is.
quint32 AbsentValue(int width)
{
    return width == 4 ? 0x7F7F7F7Fu : (quint32(1) << (8 * width)) / 0xFF * 0x7F;
}

// A 4-byte value that the image does not hold although each of its bytes turns
// up every 128 bytes: the filler counts up 0x80 .. 0xFF, and these bytes count
// down. The search stops at every one of them to check the rest.
constexpr quint32 AbsentValueOfCommonBytes = 0x80818283u;

// Find Next with a value that is nowhere in the image: one whole scan, ending
// with -1 .. -1 shown.
void FindNextNoMatch(benchmark::State &state, quint32 value)
{
    CDiablo2Doc &doc = BigDocument();
    quint32 first = 0xFFFFFFFFu;
    quint32 last = 0xFFFFFFFFu;
    if (doc.FindValue(first, last, value)) {
        state.SkipWithError("the value searched for is in the image");
        return;
    }

    ScriptedPrompts prompts;
    CFindValueDlg dlg(&doc);
    dlg.Create();
    dlg.m_nValue = value;
    dlg.m_nFirst = -1;
    dlg.m_nLast = -1;
    dlg.UpdateData(false);
    QCoreApplication::processEvents();
    for (auto _ : state)
        dlg.SendCommand(IDC_FIND_NEXT);
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.GetSize());
    if (dlg.TakePendingError() || !prompts.messages.isEmpty())
        state.SkipWithError("Find Next reported an error");
    else if (dlg.m_nFirst != -1 || dlg.m_nLast != -1 || dlg.m_nValue != value)
        state.SkipWithError("Find Next did not end with -1 .. -1");
}

// Find... on the Compare tool, against a compare file equal to the edited
// image: the walk over all 64 MiB, ending with -1 shown and no message.
void CompareWalk(benchmark::State &state)
{
    CDiablo2Doc &doc = BigDocument();
    ScriptedPrompts prompts;
    CCompareDlg dlg(&doc);
    dlg.Create();
    prompts.QueueFile(BenchFiles::Get().Big());
    dlg.SendCommand(IDC_LOAD);
    if (dlg.m_strFile != BenchFiles::Get().Big()) {
        state.SkipWithError("the compare file did not load");
        return;
    }
    QCoreApplication::processEvents();
    for (auto _ : state)
        dlg.SendCommand(IDC_FIND_NEXT);
    state.SetBytesProcessed(int64_t(state.iterations()) * doc.GetSize());
    if (dlg.TakePendingError() || !prompts.messages.isEmpty())
        state.SkipWithError("the walk reported an error or a message");
    else if (dlg.m_nOffset != -1)
        state.SkipWithError("the walk found a difference in equal images");
}

} // namespace

void RegisterToolBenchmarks()
{
    using benchmark::kMillisecond;
    for (int width = 1; width <= 4; ++width) {
        const std::string name = "find_next_64MiB_no_match/width:" + std::to_string(width);
        AddBenchmark(name.c_str(), 10e6, kMillisecond,
                     [width](benchmark::State &state) { FindNextNoMatch(state, AbsentValue(width)); });
    }
    AddBenchmark("find_next_64MiB_no_match_common_bytes", 10e6, kMillisecond,
                 [](benchmark::State &state) { FindNextNoMatch(state, AbsentValueOfCommonBytes); });
    AddBenchmark("compare_walk_64MiB_no_difference", 10e6, kMillisecond, CompareWalk);
}
