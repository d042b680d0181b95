#include "FileVersion.h"

#include "Diablo2Doc.h"
#include "Messages.h"
#include "document/format/FamilyLayout.h"
#include "document/format/Parse.h"

namespace FileVersion {

namespace {

// 55 AA 55 AA, read as the little-endian value at offset 0.
constexpr quint32 kSignature = 0xAA55AA55u;
constexpr quint32 kVersionFirst = 4;
constexpr quint32 kVersionLast = 7;

// A known version whose sections are found by their markers (87 on), whether
// its parse opened it or not.
bool IsKnownLater(const CDiablo2Doc &doc)
{
    const Format::FamilyLayout *layout = NamesVersion(doc) ? Format::LayoutOf(Of(doc)) : nullptr;
    return layout && layout->checksMarkers;
}

} // namespace

quint32 Of(const CDiablo2Doc &doc)
{
    return doc.GetUInt(kVersionFirst, kVersionLast);
}

bool NamesVersion(const CDiablo2Doc &doc)
{
    return doc.GetSize() > kVersionLast;
}

bool HasSignature(const CDiablo2Doc &doc)
{
    return doc.GetSize() >= 4 && doc.GetUInt(0, 3) == kSignature;
}

Kind KindOf(const CDiablo2Doc &doc)
{
    return doc.IsEmpty() ? Kind::Version71 : doc.ParsedImage()->kind;
}

bool ShowsValues(const CDiablo2Doc &doc)
{
    return !doc.IsEmpty() && doc.ParsedImage()->Opened();
}

QString RefusalText(const CDiablo2Doc &doc)
{
    const QString reason = doc.ParsedImage()->reason;
    if (HasSignature(doc) && IsKnownLater(doc))
        return QStringLiteral("file version %1: %2.").arg(Of(doc)).arg(reason);
    return reason + QLatin1Char('.');
}

QString OpenNotice(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionNotice).arg(version).arg(QLatin1String(Format::KnownVersionsText()));
}

namespace {

// The warnings a later file opened with, each a sentence.
QString Sentences(const QStringList &clauses)
{
    QStringList sentences;
    for (const QString &clause : clauses)
        sentences.append((sentences.isEmpty() ? clause : clause.left(1).toUpper() + clause.mid(1)) + QLatin1Char('.'));
    return sentences.join(QLatin1Char(' '));
}

} // namespace

QString OpenNotice(const CDiablo2Doc &doc)
{
    switch (KindOf(doc)) {
    case Kind::Version71: return QString();
    case Kind::Unsigned71: return QString::fromLatin1(Messages::NoSignatureNotice);
    case Kind::Later: return Sentences(doc.ParsedImage()->warnings);
    case Kind::Held: break;
    }
    if (!HasSignature(doc))
        return QString::fromLatin1(Messages::NoSignatureHeldNotice);
    if (!NamesVersion(doc))
        return QString::fromLatin1(Messages::HeldNotice).arg(doc.ParsedImage()->reason);
    if (!IsKnownLater(doc))
        return OpenNotice(Of(doc));
    return QString::fromLatin1(Messages::RefusedVersionNotice).arg(Of(doc)).arg(doc.ParsedImage()->reason);
}

QString SaveRisk(quint32 version)
{
    return QString::fromLatin1(Messages::OtherVersionSaveRisk).arg(version);
}

QString SaveRiskFor(const CDiablo2Doc &doc)
{
    if (!HasSignature(doc) || !NamesVersion(doc))
        return QString::fromLatin1(Messages::NoSignatureSaveRisk);
    if (IsKnownLater(doc))
        return QString::fromLatin1(Messages::RawToolsOnlySaveRisk).arg(Of(doc));
    return SaveRisk(Of(doc));
}

QString TitleSuffix(const CDiablo2Doc &doc)
{
    if (!HasSignature(doc) || !NamesVersion(doc))
        return QStringLiteral(" [not a character file]");
    return IsOther(KindOf(doc)) ? QStringLiteral(" [version %1]").arg(Of(doc)) : QString();
}

} // namespace FileVersion
