#include "FileVersion.h"

#include "Diablo2Doc.h"
#include "document/layout/Layout.h"
#include "Messages.h"

namespace FileVersion {

quint32 Of(const CDiablo2Doc &doc)
{
    return doc.GetUInt(Layout::FileVersionFirst, Layout::FileVersionLast);
}

bool IsOther(const CDiablo2Doc &doc)
{
    return doc.GetSize() > Layout::FileVersionLast && Of(doc) != Layout::KnownFileVersion;
}

QString OpenNotice(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionNotice).arg(version);
}

QString SaveRisk(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionSaveRisk).arg(version);
}

QString TitleSuffix(const CDiablo2Doc &doc)
{
    return IsOther(doc) ? QStringLiteral(" [version %1]").arg(Of(doc)) : QString();
}

} // namespace FileVersion
