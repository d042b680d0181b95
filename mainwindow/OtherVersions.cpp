#include "OtherVersions.h"

#include "Diablo2Doc.h"
#include "FileVersion.h"
#include "Messages.h"
#include "core/Prompts.h"

namespace OtherVersions {

void Notice(QObject *owner, const CDiablo2Doc &doc)
{
    if (FileVersion::IsOther(doc))
        Prompts().MessageBox(owner, FileVersion::OpenNotice(FileVersion::Of(doc)),
                             QString::fromLatin1(Captions::Open), MessageIcon::Exclamation);
}

bool MaySave(QObject *owner, const CDiablo2Doc &doc)
{
    if (!FileVersion::IsOther(doc))
        return true;
    const QString question =
        FileVersion::SaveRisk(FileVersion::Of(doc)) + QLatin1Char(' ') + QString::fromLatin1(Messages::SaveAnyway);
    return Prompts().AskYesNo(owner, question, QString::fromLatin1(Captions::Save), MessageIcon::Exclamation);
}

bool SaveWritesPanel(CDiablo2Doc &doc)
{
    return !FileVersion::IsOther(doc) || doc.IsModified();
}

} // namespace OtherVersions
