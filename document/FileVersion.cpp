#include "FileVersion.h"

#include "Diablo2Doc.h"
#include "document/layout/Layout.h"
#include "Messages.h"
#include "document/format/FamilyLayout.h"
#include "document/format/Parse.h"

namespace FileVersion {

quint32 Of(const CDiablo2Doc &doc)
{
    return doc.GetUInt(Layout::FileVersionFirst, Layout::FileVersionLast);
}

namespace {

// 55 AA 55 AA, read as the little-endian value at offset 0.
constexpr quint32 kSignature = 0xAA55AA55u;

bool IsKnownLater(const CDiablo2Doc &doc)
{
    return NamesVersion(doc) && Of(doc) != Layout::KnownFileVersion && Format::LayoutOf(Of(doc)) != nullptr;
}

} // namespace

bool NamesVersion(const CDiablo2Doc &doc)
{
    return doc.GetSize() > Layout::FileVersionLast;
}

bool HasSignature(const CDiablo2Doc &doc)
{
    return doc.GetSize() >= 4 && doc.GetUInt(0, 3) == kSignature;
}

Kind KindOf(const CDiablo2Doc &doc)
{
    if (doc.IsEmpty())
        return Kind::Version71;
    const bool signature = HasSignature(doc);
    if (NamesVersion(doc) && Of(doc) == Layout::KnownFileVersion) {
        if (signature)
            return Kind::Version71;
        return doc.GetSize() >= Layout::MinimumCharacterSize ? Kind::Unsigned71 : Kind::Held;
    }
    if (signature && IsKnownLater(doc) && doc.ParsedImage()->Opened())
        return Kind::Later;
    return Kind::Held;
}

bool IsNot71(const CDiablo2Doc &doc)
{
    return KindOf(doc) != Kind::Version71;
}

bool IsLater(const CDiablo2Doc &doc)
{
    return KindOf(doc) == Kind::Later;
}

bool IsOther(const CDiablo2Doc &doc)
{
    const Kind kind = KindOf(doc);
    return kind == Kind::Unsigned71 || kind == Kind::Held;
}

bool IsRawToolsOnly(const CDiablo2Doc &doc)
{
    return KindOf(doc) == Kind::Held;
}

bool ShowsValues(const CDiablo2Doc &doc)
{
    switch (KindOf(doc)) {
    case Kind::Later:
    case Kind::Unsigned71: return true;
    case Kind::Version71: return !doc.IsEmpty() && doc.GetSize() >= Layout::MinimumCharacterSize;
    case Kind::Held: break;
    }
    return false;
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
    return IsOther(doc) ? QStringLiteral(" [version %1]").arg(Of(doc)) : QString();
}

} // namespace FileVersion
