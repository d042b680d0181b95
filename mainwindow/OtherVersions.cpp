#include "OtherVersions.h"

#include "document/Diablo2Doc.h"
#include "document/FileVersion.h"
#include "document/Messages.h"
#include "core/Prompts.h"

#include <QFileInfo>

namespace OtherVersions {

void Notice(QObject *owner, const CDiablo2Doc &doc)
{
    QString notice = FileVersion::OpenNotice(doc);
    if (notice.isEmpty())
        return;
    // A character that opened with a warning (a damaged checksum) names its file.
    if (!FileVersion::IsOther(FileVersion::KindOf(doc)))
        notice = QFileInfo(doc.GetFileName()).fileName() + QStringLiteral(": ") + notice;
    Prompts().MessageBox(owner, notice, QString::fromLatin1(Captions::Open), MessageIcon::Exclamation);
}

bool MaySave(QObject *owner, const CDiablo2Doc &doc)
{
    if (!FileVersion::IsOther(FileVersion::KindOf(doc)))
        return true;
    const QString question = FileVersion::SaveRiskFor(doc) + QStringLiteral(" Save anyway?");
    return Prompts().AskYesNo(owner, question, QString::fromLatin1(Captions::Save), MessageIcon::Exclamation);
}

bool SaveWritesPanel(const CDiablo2Doc &doc)
{
    return !FileVersion::IsOther(FileVersion::KindOf(doc));
}

KeepImageAsRead::KeepImageAsRead(CDiablo2Doc &doc)
    : m_doc(doc)
{
    if (FileVersion::IsOther(FileVersion::KindOf(doc)))
        m_image = doc.ImageCopy();
}

KeepImageAsRead::~KeepImageAsRead()
{
    // The refresh never changes the image's length; an image dropped on the
    // way (a refresh that failed) is left as it is.
    if (m_image.isEmpty() || m_doc.GetSize() != quint32(m_image.size()))
        return;
    m_doc.SetBytes(0, m_doc.GetSize() - 1, reinterpret_cast<const quint8 *>(m_image.constData()));
    m_doc.SetModifiedFlag(false);
}

} // namespace OtherVersions
