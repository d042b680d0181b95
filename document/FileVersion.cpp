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

namespace {
// 55 AA 55 AA, read as the little-endian value at offset 0.
constexpr quint32 kSignature = 0xAA55AA55u;
} // namespace

bool HasSignature(const CDiablo2Doc &doc)
{
    return doc.GetSize() < 4 || doc.GetUInt(0, 3) == kSignature;
}

bool IsNot71(const CDiablo2Doc &doc)
{
    return doc.GetSize() > Layout::FileVersionLast && (!HasSignature(doc) || Of(doc) != Layout::KnownFileVersion);
}

namespace {

bool IsKnown(const CDiablo2Doc &doc)
{
    return Versions::LayoutOf(Of(doc)) != nullptr;
}

} // namespace

namespace {

// A file that names a known later version is read by its parse alone.
bool ReadByParse(const CDiablo2Doc &doc)
{
    return IsNot71(doc) && HasSignature(doc) && IsKnown(doc);
}

} // namespace

bool IsLater(const CDiablo2Doc &doc)
{
    return ReadByParse(doc) && doc.ParsedImage()->Opened();
}

bool IsOther(const CDiablo2Doc &doc)
{
    return IsNot71(doc) && !IsLater(doc);
}

bool IsRawToolsOnly(const CDiablo2Doc &doc)
{
    return ReadByParse(doc) && !doc.ParsedImage()->Opened();
}

bool ShowsValues(const CDiablo2Doc &doc)
{
    if (ReadByParse(doc))
        return doc.ParsedImage()->Opened();
    return !doc.IsEmpty() && doc.GetSize() >= Layout::MinimumCharacterSize;
}

QString RefusalText(const CDiablo2Doc &doc)
{
    return QStringLiteral("file version %1: %2.").arg(Of(doc)).arg(doc.ParsedImage()->reason);
}

QString OpenNotice(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionNotice).arg(version).arg(QLatin1String(Versions::KnownVersionsText()));
}

QString OpenNotice(const CDiablo2Doc &doc)
{
    if (!IsNot71(doc))
        return QString();
    if (!HasSignature(doc))
        return QString::fromLatin1(Messages::NoSignatureNotice);
    if (!IsKnown(doc))
        return OpenNotice(Of(doc));
    const auto parsed = doc.ParsedImage();
    if (!parsed->Opened())
        return QString::fromLatin1(Messages::RefusedVersionNotice).arg(Of(doc)).arg(parsed->reason);
    return parsed->warnings.join(QLatin1Char(' '));
}

QString SaveRisk(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionSaveRisk).arg(version);
}

QString SaveRiskFor(const CDiablo2Doc &doc)
{
    if (!HasSignature(doc))
        return QString::fromLatin1(Messages::NoSignatureSaveRisk);
    if (IsRawToolsOnly(doc))
        return QString::fromLatin1(Messages::RawToolsOnlySaveRisk).arg(Of(doc));
    return SaveRisk(Of(doc));
}

QString TitleSuffix(const CDiablo2Doc &doc)
{
    if (!HasSignature(doc))
        return QStringLiteral(" [not a character file]");
    return IsOther(doc) ? QStringLiteral(" [version %1]").arg(Of(doc)) : QString();
}

} // namespace FileVersion
