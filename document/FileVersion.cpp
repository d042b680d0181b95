#include "FileVersion.h"

#include "Diablo2Doc.h"
#include "document/layout/Layout.h"
#include "Messages.h"

namespace FileVersion {

quint32 Of(const CDiablo2Doc &doc)
{
    return doc.GetUInt(Layout::FileVersionFirst, Layout::FileVersionLast);
}

namespace {
// 55 AA 55 AA, read as the little-endian value at offset 0.
constexpr quint32 kSignature = 0xAA55AA55u;
} // namespace

bool HasSignature(const CDiablo2Doc &doc)
{
    return doc.GetSize() < 4 || doc.GetUInt(0, 3) == kSignature;
}

bool IsOther(const CDiablo2Doc &doc)
{
    return doc.GetSize() > Layout::FileVersionLast && (!HasSignature(doc) || Of(doc) != Layout::KnownFileVersion);
}

QString OpenNotice(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionNotice).arg(version);
}

QString SaveRisk(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionSaveRisk).arg(version);
}

QString OpenNoticeFor(const CDiablo2Doc &doc)
{
    return HasSignature(doc) ? OpenNotice(Of(doc)) : QString::fromLatin1(Messages::NoSignatureNotice);
}

QString SaveRiskFor(const CDiablo2Doc &doc)
{
    return HasSignature(doc) ? SaveRisk(Of(doc)) : QString::fromLatin1(Messages::NoSignatureSaveRisk);
}

QString TitleSuffix(const CDiablo2Doc &doc)
{
    if (!HasSignature(doc))
        return QStringLiteral(" [not a character file]");
    return IsOther(doc) ? QStringLiteral(" [version %1]").arg(Of(doc)) : QString();
}

} // namespace FileVersion
