// The Compare tool on two arbitrary images: the edited character is held as
// the input gives it (any length, no expansion), the compare file is written
// to disk and loaded through the tool's Load... button, as a user would. Then
// Find... and Find Next are clicked until the walk ends, and once more to see
// it start over.
//
// Input: two bytes (little-endian) giving the length of the edited image, that
// many bytes, then the compare file.
//
// Besides crashes, leaks and sanitizer reports, a finding is: an offset shown
// that is not the next difference inside both images, a walk that misses one,
// a size message with another word or number than the two lengths give, or an
// error that escapes the tool.

#include "FuzzSupport.h"

#include "tools/CompareDlg.h"
#include "resources/ToolDialogIds.h"

#include <QLineEdit>

#include <algorithm>
#include <exception>

namespace {

using Fuzz::Fail;

void NoPendingError(CDialog &dlg, const char *step)
{
    if (std::exception_ptr error = dlg.TakePendingError()) {
        QString text = QStringLiteral("(not a C string)");
        try {
            std::rethrow_exception(error);
        } catch (const char *thrown) {
            text = QString::fromLatin1(thrown);
        } catch (...) {
        }
        Fail("an error escaped the Compare tool", QString::fromLatin1(step) + QStringLiteral(": ") + text);
    }
}

QString ShownOffset(const CCompareDlg &dlg)
{
    return dlg.DlgItem<QLineEdit>(IDC_COMPARE_OFFSET)->text();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > 1 << 14)
        return -1;
    const size_t editedLength = std::min<size_t>(size - 2, size_t(data[0]) | size_t(data[1]) << 8);
    const QByteArray edited = Fuzz::Bytes(data + 2, editedLength);
    const QByteArray compareFile = Fuzz::Bytes(data + 2 + editedLength, size - 2 - editedLength);
    const QString path = Fuzz::ScratchPath(QStringLiteral("Compare.d2s"));
    Fuzz::WriteFileOrDie(path, compareFile);
    Fuzz::Prompts().Reset();

    // The compare file as any load gives it: the yardstick's second image.
    CDiablo2Doc reference;
    bool referenceLoaded = false;
    const char *referenceError = nullptr;
    try {
        referenceLoaded = reference.OpenFile(path);
    } catch (const char *text) {
        referenceError = text;
    }
    const QByteArray compared = referenceLoaded ? Fuzz::ImageOf(reference) : QByteArray();
    Fuzz::Prompts().Reset();

    // One tool for the whole run, given the edited document once, as a tool
    // keeps its document for its life; every input loads its compare file anew.
    static Fuzz::HeldDoc doc;
    static CCompareDlg &dlg = *[] {
        auto *tool = new CCompareDlg(&doc);
        tool->Create();
        return tool;
    }();
    doc.Hold(edited);

    Fuzz::Prompts().fileAnswers = {path};
    dlg.SendCommand(IDC_LOAD);
    NoPendingError(dlg, "Load");
    if (referenceError) {
        if (Fuzz::Prompts().messages != QStringList{QStringLiteral("Compare|") + QString::fromLatin1(referenceError)})
            Fail("a compare file the load refuses was not reported under Compare",
                 Fuzz::Prompts().messages.join(QStringLiteral(" / ")));
    } else if (!Fuzz::Prompts().messages.isEmpty()) {
        Fail("loading a readable compare file showed a message", Fuzz::Prompts().messages.join(QStringLiteral(" / ")));
    }
    Fuzz::Prompts().Reset();

    dlg.SendCommand(IDC_FIND);
    NoPendingError(dlg, "Find");
    if (compared.isEmpty() || edited.isEmpty()) {
        if (Fuzz::Prompts().messages != QStringList{QStringLiteral("Compare|You must open a character first!")})
            Fail("Find... without two characters was not refused", Fuzz::Prompts().messages.join(QStringLiteral(" / ")));
        return 0;
    }

    // The walk the tool must show: every difference inside both images in
    // rising order, then -1 with the size message when the lengths differ.
    QStringList expected;
    const qsizetype common = std::min(edited.size(), compared.size());
    for (qsizetype k = 0; k < common; ++k)
        if (edited[k] != compared[k])
            expected.append(QString::number(k));
    QStringList shown{ShownOffset(dlg)};
    // One click per difference and one for the end; a walk that never ends is
    // cut off there and shows as a mismatch.
    for (qsizetype click = 0; click < expected.size() && shown.last() != QStringLiteral("-1"); ++click) {
        dlg.SendCommand(IDC_FIND_NEXT);
        NoPendingError(dlg, "Find Next");
        shown.append(ShownOffset(dlg));
    }
    expected.append(QStringLiteral("-1"));
    if (shown != expected)
        Fail("the walk showed other offsets than the differences",
             QStringLiteral("shown %1\nexpected %2").arg(shown.join(QLatin1Char(' ')), expected.join(QLatin1Char(' '))));
    if (dlg.m_nOffset != -1)
        Fail("the tool holds an offset after the end of the walk", QString::number(dlg.m_nOffset));

    QStringList messages;
    if (compared.size() != edited.size()) {
        const bool bigger = compared.size() > edited.size();
        messages.append(QStringLiteral("Compare result|The compare file is %1 than the original file by %2 bytes.")
                            .arg(bigger ? QStringLiteral("bigger") : QStringLiteral("smaller"))
                            .arg(bigger ? compared.size() - edited.size() : edited.size() - compared.size()));
    }
    if (Fuzz::Prompts().messages != messages)
        Fail("the end of the walk showed another message than the lengths give",
             Fuzz::Prompts().messages.join(QStringLiteral(" / ")));

    // The walk starts over at the first difference.
    dlg.SendCommand(IDC_FIND_NEXT);
    NoPendingError(dlg, "Find Next after the end");
    if (ShownOffset(dlg) != expected.first())
        Fail("the walk did not start over", ShownOffset(dlg) + QStringLiteral(" / ") + expected.first());
    if (Fuzz::ImageOf(doc) != edited)
        Fail("the Compare tool changed the edited character");
    return 0;
}
