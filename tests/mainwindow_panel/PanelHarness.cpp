#include "PanelHarness.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <exception>

PanelHarness::PanelHarness()
{
    dlg.Create();
}

PanelHarness::~PanelHarness()
{
    dlg.hide();
}

bool PanelHarness::Load(const CharacterFixture &fixture)
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString path = m_dir->filePath(QStringLiteral("Hero.d2s"));
    if (!m_dir->isValid() || !fixture.WriteTo(path))
        return false;
    if (!dlg.m_doc.OpenFile(path))
        return false;
    dlg.SyncWithDocument(false);
    dlg.OnSelchangeClass();
    dlg.OnSelchangeSkill();
    dlg.m_doc.SetModifiedFlag(false);
    prompts.Reset();
    return true;
}

QLineEdit *PanelHarness::Edit(int id) const
{
    return dlg.DlgItem<QLineEdit>(id);
}

QComboBox *PanelHarness::Combo(int id) const
{
    return dlg.DlgItem<QComboBox>(id);
}

QString PanelHarness::Text(int id) const
{
    if (QLineEdit *edit = Edit(id))
        return edit->text();
    if (QComboBox *combo = Combo(id))
        return combo->currentText();
    return QString();
}

void PanelHarness::Type(int id, const QString &text)
{
    QLineEdit *edit = Edit(id);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    RethrowHandlerError();
    for (const QChar c : text) {
        QTest::keyClicks(edit, QString(c));
        RethrowHandlerError();
    }
}

void PanelHarness::ClearEdit(int id)
{
    QLineEdit *edit = Edit(id);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    RethrowHandlerError();
}

void PanelHarness::Choose(int id, int index)
{
    QComboBox *combo = Combo(id);
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTest::keyClick(view, Qt::Key_Home);
    for (int k = 0; k < index; ++k)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    RethrowHandlerError();
}

void PanelHarness::Click(int id)
{
    QTest::mouseClick(dlg.DlgItem<QAbstractButton>(id), Qt::LeftButton);
    RethrowHandlerError();
}

void PanelHarness::Command(int command)
{
    dlg.MenuAction(command)->trigger();
    RethrowHandlerError();
}

void PanelHarness::RethrowHandlerError()
{
    if (std::exception_ptr error = dlg.TakePendingError())
        std::rethrow_exception(error);
}

QByteArray WithValue(QByteArray image, quint32 first, quint32 last, quint32 value)
{
    for (quint32 k = first; k <= last; ++k, value >>= 8)
        image[k] = char(value & 0xFF);
    return image;
}

QString Differences(const QByteArray &expected, const QByteArray &actual)
{
    QStringList lines;
    if (expected.size() != actual.size())
        lines.append(QStringLiteral("length: expected %1, got %2").arg(expected.size()).arg(actual.size()));
    const qsizetype common = qMin(expected.size(), actual.size());
    for (qsizetype k = 0; k < common; ++k) {
        if (expected[k] != actual[k]) {
            lines.append(QStringLiteral("%1: expected %2, got %3")
                             .arg(k)
                             .arg(quint8(expected[k]), 2, 16, QLatin1Char('0'))
                             .arg(quint8(actual[k]), 2, 16, QLatin1Char('0')));
        }
    }
    return lines.join(QLatin1Char('\n'));
}
