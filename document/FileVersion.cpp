#include "FileVersion.h"

#include "Diablo2Doc.h"
#include "document/layout/Layout.h"
#include "Messages.h"
#include "document/versions/FamilyLayout.h"
#include "document/versions/Parse.h"

namespace FileVersion {

quint32 Of(const CDiablo2Doc &doc)
{
    return doc.GetUInt(Layout::FileVersionFirst, Layout::FileVersionLast);
}

bool IsNot71(const CDiablo2Doc &doc)
{
    return doc.GetSize() > Layout::FileVersionLast && Of(doc) != Layout::KnownFileVersion;
}

namespace {

bool IsKnown(const CDiablo2Doc &doc)
{
    return Versions::LayoutOf(Of(doc)) != nullptr;
}

} // namespace

bool IsOther(const CDiablo2Doc &doc)
{
    if (!IsNot71(doc))
        return false;
    return !IsKnown(doc) || !Versions::Parse(doc.ImageCopy()).Opened();
}

bool IsLater(const CDiablo2Doc &doc)
{
    return IsNot71(doc) && IsKnown(doc) && Versions::Parse(doc.ImageCopy()).Opened();
}

QString OpenNotice(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionNotice).arg(version).arg(QLatin1String(Versions::KnownVersionsText()));
}

QString OpenNotice(const CDiablo2Doc &doc)
{
    if (!IsNot71(doc))
        return QString();
    if (!IsKnown(doc))
        return OpenNotice(Of(doc));
    const Versions::ParseResult parsed = Versions::Parse(doc.ImageCopy());
    if (!parsed.Opened())
        return QString::fromLatin1(Messages::RefusedVersionNotice).arg(Of(doc)).arg(parsed.reason);
    return parsed.warnings.join(QLatin1Char(' '));
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
