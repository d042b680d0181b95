#include "Parse.h"

#include "Checksum.h"
#include "HeaderFields.h"
#include "Status.h"
#include "StatCodec.h"

namespace Format {

namespace {

constexpr quint32 kSignature = 0xAA55AA55;
constexpr int kVersionOffset = 4;
// The block of the characters met ("w4" in some accounts), as every file of
// version 92 on begins it.
constexpr QByteArrayView kNpcMarker("\x01\x77\x34\x00", 4);

QString NoSignature()
{
    return QStringLiteral("the file does not begin with the signature of a character file (55 AA 55 AA)");
}

ParseResult Refused(ParseResult result, Refusal refusal, const QString &reason)
{
    result.refusal = refusal;
    result.reason = reason;
    return result;
}

bool HasMarker(const QByteArray &image, int offset, QByteArrayView expected)
{
    return offset >= 0 && offset + expected.size() <= image.size()
        && QByteArrayView(image).sliced(offset, expected.size()) == expected;
}

QString MissingSection(const char *what, const char *marker, int offset, quint32 version)
{
    return QStringLiteral("the %1 (\"%2\") are not at byte %3, where version %4 keeps them")
        .arg(QLatin1String(what), QLatin1String(marker)).arg(offset).arg(version);
}

void ReadHeader(const QByteArray &image, ParsedCharacter &c)
{
    const FamilyLayout &l = *c.layout;
    const QByteArray name = image.mid(l.nameOffset, l.nameLength);
    c.name = name.left(name.indexOf('\0') < 0 ? name.size() : name.indexOf('\0'));
    for (const HeaderField &field : kHeaderFields) {
        if (OffsetOf(field, l) >= 0)
            c.*field.value = ReadLittleEndian(image, OffsetOf(field, l), field.bytes);
    }
    c.expansion = ReadsAsExpansion(c);
}

void ReadChecksum(const QByteArray &image, ParsedCharacter &c, QStringList &warnings)
{
    if (!c.layout->sizeAndChecksum)
        return;
    c.sizeField = ReadU32(image, SizeFieldOffset);
    c.storedChecksum = ReadU32(image, ChecksumOffset);
    c.computedChecksum = ComputeChecksum(image);
    c.checksum = c.storedChecksum == c.computedChecksum ? ChecksumState::Valid : ChecksumState::Damaged;
    if (c.checksum == ChecksumState::Damaged) {
        warnings.append(QStringLiteral("the stored checksum 0x%1 does not match the file's bytes "
                                       "(0x%2): the file may be damaged; the next save writes a correct one")
                            .arg(c.storedChecksum, 8, 16, QLatin1Char('0'))
                            .arg(c.computedChecksum, 8, 16, QLatin1Char('0')));
    }
}

void ReadQuestsAndWaypoints(const QByteArray &image, ParsedCharacter &c)
{
    const FamilyLayout &l = *c.layout;
    for (int d = 0; d < Difficulties; ++d) {
        const int record = l.questsOffset + QuestRecordStart + d * QuestRecordLength;
        for (int w = 0; w < QuestWordsPerDifficulty; ++w) {
            c.questWords[std::size_t(d)][std::size_t(w)]
                = quint16(quint8(image[record + 2 * w]) | (quint8(image[record + 2 * w + 1]) << 8));
        }
        const int bits = l.waypointsOffset + WaypointBitsStart + d * WaypointRecordLength;
        quint64 set = 0;
        for (int k = 0; k < WaypointBytes(l); ++k)
            set |= quint64(quint8(image[bits + k])) << (8 * k);
        c.waypoints[std::size_t(d)] = set;
    }
}

void ReadSkills(const QByteArray &image, ParsedCharacter &c)
{
    for (int k = 0; k < SkillCount; ++k)
        c.skills[std::size_t(k)] = quint8(image[c.sections.statsEnd + 2 + k]);
}

// A family whose sections stand at fixed places (version 71) is read without
// checking a marker: the file needs only to reach its last skill byte. Such
// a file is read without the signature too, after a warning.
ParseResult ParseFixedPlaces(const QByteArray &image, const FamilyLayout &l, bool signature, ParseResult result)
{
    ParsedCharacter &c = result.character;
    c.version = ReadU32(image, kVersionOffset);
    c.layout = &l;
    const DecodedStats decoded = DecodeStats(image, l.statsOffset, l.statCodec);
    const int end = decoded.end + SkillBlockLength;
    if (decoded.problem != StatsProblem::None || image.size() < end) {
        result.kind = signature ? FileKind::Version71 : FileKind::Held;
        if (!signature)
            c.layout = nullptr; // no character file: its version is not read as one
        return Refused(result, signature ? Refusal::TooShort : Refusal::NotACharacter,
                       signature ? QStringLiteral("the file has %1 bytes; a character of version %2 has at "
                                                  "least %3").arg(image.size()).arg(c.version).arg(end)
                                 : NoSignature());
    }
    ReadHeader(image, c);
    c.stats = decoded.stats;
    c.sections.statsEnd = decoded.end;
    c.sections.items = end;
    ReadSkills(image, c);
    ReadQuestsAndWaypoints(image, c);
    result.kind = signature ? FileKind::Version71 : FileKind::Unsigned71;
    return result;
}

} // namespace

bool ExpandsAtLoad(QByteArrayView image)
{
    if (image.size() < kVersionOffset + 4)
        return false;
    const QByteArray head = image.first(kVersionOffset + 4).toByteArray();
    const FamilyLayout *layout = LayoutOf(ReadU32(head, kVersionOffset));
    return ReadU32(head, 0) == kSignature && layout && layout->statCodec == StatCodec::Expanded;
}

ParseResult Parse(const QByteArray &image)
{
    ParseResult result;
    ParsedCharacter &c = result.character;
    const bool signature = image.size() >= 4 && ReadU32(image, 0) == kSignature;
    const bool namesVersion = image.size() >= kVersionOffset + 4;
    const FamilyLayout *layout = namesVersion ? LayoutOf(ReadU32(image, kVersionOffset)) : nullptr;
    if (layout && !layout->checksMarkers)
        return ParseFixedPlaces(image, *layout, signature, std::move(result));
    if (!signature)
        return Refused(result, Refusal::NotACharacter, NoSignature());
    if (!namesVersion)
        return Refused(result, Refusal::NotACharacter,
                       QStringLiteral("the file has %1 bytes, too few for a character file").arg(image.size()));
    c.version = ReadU32(image, kVersionOffset);
    c.layout = LayoutOf(c.version);
    if (!c.layout)
        return Refused(result, Refusal::UnknownVersion,
                       QStringLiteral("file version %1 is not one this program knows (it knows %2)")
                           .arg(c.version).arg(QLatin1String(KnownVersionsText())));
    const FamilyLayout &l = *c.layout;
    if (image.size() < l.questsOffset)
        return Refused(result, Refusal::HeaderCutShort,
                       QStringLiteral("the file ends at byte %1, inside the %2-byte header of version %3")
                           .arg(image.size()).arg(l.questsOffset).arg(c.version));
    ReadHeader(image, c);
    ReadChecksum(image, c, result.warnings);
    // A file cut short or grown since the game wrote it is not sealed as good.
    if (l.sizeAndChecksum && c.sizeField != quint32(image.size()))
        return Refused(result, Refusal::SizeMismatch,
                       QStringLiteral("the file-size field says %1 bytes but the file has %2: the file is cut "
                                      "short or damaged").arg(c.sizeField).arg(image.size()));
    if (image.size() == l.questsOffset)
        return Refused(result, Refusal::HeaderOnly,
                       QStringLiteral("the file holds only the %1-byte header of a new character's first "
                                      "save: it has no quests, waypoints, attributes or skills until the "
                                      "game saves the character again").arg(l.questsOffset));

    if (!HasMarker(image, l.questsOffset, "Woo!"))
        return Refused(result, Refusal::SectionMissing, MissingSection("quests", "Woo!", l.questsOffset, c.version));
    if (!HasMarker(image, l.waypointsOffset, "WS"))
        return Refused(result, Refusal::SectionMissing,
                       MissingSection("waypoints", "WS", l.waypointsOffset, c.version));
    if (l.sizeAndChecksum && !HasMarker(image, l.npcOffset, kNpcMarker))
        return Refused(result, Refusal::SectionMissing,
                       QStringLiteral("the characters' block (01 77 34 00) is not at byte %1, where version %2 "
                                      "keeps it").arg(l.npcOffset).arg(c.version));
    if (!HasMarker(image, l.statsOffset, "gf"))
        return Refused(result, Refusal::SectionMissing, MissingSection("attributes", "gf", l.statsOffset, c.version));

    const DecodedStats decoded = DecodeStats(image, l.statsOffset, l.statCodec);
    switch (decoded.problem) {
    case StatsProblem::None: break;
    case StatsProblem::CutShort:
        return Refused(result, Refusal::AttributesCutShort,
                       QStringLiteral("the file ends inside its attributes, which begin at byte %1")
                           .arg(l.statsOffset));
    case StatsProblem::UnknownId:
        return Refused(result, Refusal::AttributesDamaged,
                       QStringLiteral("the attributes hold id %1, which no character file stores")
                           .arg(decoded.problemId));
    case StatsProblem::StoredTwice:
        return Refused(result, Refusal::AttributesDamaged,
                       QStringLiteral("the attributes hold id %1 twice").arg(decoded.problemId));
    }
    c.stats = decoded.stats;
    c.sections.statsEnd = decoded.end;
    c.sections.items = decoded.end + SkillBlockLength;
    if (!HasMarker(image, decoded.end, "if") || image.size() < c.sections.items)
        return Refused(result, Refusal::SectionMissing,
                       QStringLiteral("the skills (\"if\") do not follow the attributes at byte %1")
                           .arg(decoded.end));
    if (!HasMarker(image, c.sections.items, "JM"))
        return Refused(result, Refusal::SectionMissing,
                       QStringLiteral("the items (\"JM\") do not follow the skills at byte %1")
                           .arg(c.sections.items));
    ReadSkills(image, c);
    ReadQuestsAndWaypoints(image, c);
    if (c.stats[FieldId::Level] != c.headerLevel)
        result.warnings.append(QStringLiteral("the level attribute (%1) differs from the level of the header (%2)")
                                   .arg(c.stats[FieldId::Level]).arg(c.headerLevel));
    result.kind = FileKind::Later;
    return result;
}

} // namespace Format
