#include "ToolTips.h"

#include "document/Diablo2Doc.h"
#include "resources/ToolDialogIds.h"
#include "widgets/Dialog.h"

#include <QLabel>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace {

void ExplainEach(CDialog &dlg, std::initializer_list<std::pair<int, QString>> texts)
{
    for (const auto &[id, text] : texts) {
        QWidget *control = dlg.GetDlgItem(id);
        Explain(control, text);
        // The label before a field shows its field's tooltip too.
        for (QLabel *label : dlg.findChildren<QLabel *>()) {
            if (label->buddy() == control)
                label->setToolTip(text);
        }
    }
}

// The byte positions of doc, for the offsets' texts.
QString PositionsOf(const CDiablo2Doc &doc)
{
    if (doc.IsEmpty())
        return QStringLiteral("counted from 0 (no file is open)");
    return QStringLiteral("0 to %1 in this %2-byte file").arg(doc.GetSize() - 1).arg(doc.GetSize());
}

const QString kValueRange = QStringLiteral("a whole number from 0 to 4294967295");

} // namespace

void ExplainEditValue(CDialog &dlg, const CDiablo2Doc &doc)
{
    ExplainEach(dlg, {
        {IDC_VALUE, QStringLiteral("Value: %1, stored lowest byte first in the bytes from the first to the last "
                                   "offset (1 to 4 bytes); Set value writes as many low bytes as they hold.")
                        .arg(kValueRange)},
        {IDC_FIRST_OFFSET, QStringLiteral("First offset: the byte position where the value starts, %1. Typing it "
                                          "makes the last offset the same byte.").arg(PositionsOf(doc))},
        {IDC_LAST_OFFSET, QStringLiteral("Last offset: the byte position where the value ends, from the first "
                                         "offset to 3 bytes past it.")},
        {IDC_GET_VALUE, QStringLiteral("Reads the value stored from the first to the last offset (0 when they "
                                       "are not inside the file).")},
        {IDC_SET_VALUE, QStringLiteral("Writes the value from the first to the last offset. The file on disk "
                                       "changes when you save.")},
        {IDC_FIND_A_VALUE, QStringLiteral("Opens Find value; the offsets it finds come back here.")},
        {IDCANCEL, QStringLiteral("Closes Edit value; the values set stay in the open file.")},
    });
}

void ExplainFindValue(CDialog &dlg, const CDiablo2Doc &doc)
{
    ExplainEach(dlg, {
        {IDC_VALUE, QStringLiteral("Value to look for: %1, matched in as few bytes as hold it (1 to 4, lowest "
                                   "byte first). Typing it searches from the start.").arg(kValueRange)},
        {IDC_FIRST_OFFSET, QStringLiteral("Offset where the match found starts, %1; -1 when none was found.")
                               .arg(PositionsOf(doc))},
        {IDC_LAST_OFFSET, QStringLiteral("Last offset: where the match found ends; -1 when none was found.")},
        {IDC_FIND, QStringLiteral("Finds the value's first match in the file.")},
        {IDC_FIND_NEXT, QStringLiteral("Finds the next match, from one byte after the start of the one shown.")},
        {IDC_COMPARE, QStringLiteral("Opens Compare; the difference shown there comes back here, with its byte "
                                     "as the value.")},
        {IDCANCEL, QStringLiteral("Closes Find value.")},
    });
}

void ExplainCompare(CDialog &dlg)
{
    ExplainEach(dlg, {
        {IDC_COMPARE_FILE, QStringLiteral("File compared with the open one, byte by byte; Load... chooses it.")},
        {IDC_COMPARE_OFFSET, QStringLiteral("Offset: the byte position of the difference shown, counted from 0 "
                                            "and inside both files; -1 when none is shown.")},
        {IDC_LOAD, QStringLiteral("Chooses the file to compare with the open one.")},
        {IDC_FIND, QStringLiteral("Finds the first byte at which the two files differ.")},
        {IDC_FIND_NEXT, QStringLiteral("Finds the next difference after the offset shown; after the last, says "
                                       "whether the sizes differ.")},
        {IDCANCEL, QStringLiteral("Closes Compare.")},
    });
}
