#include "Build.h"

#include "Checksum.h"
#include "HeaderFields.h"
#include "Parse.h"
#include "StatCodec.h"

#include <vector>

namespace Format {

namespace {

constexpr int kSkillBytesStart = 2; // after "if"

QString Hex(quint8 byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
}

// The bytes before the attributes that Build may change: true for each.
std::vector<bool> EditedHeadBytes(const FamilyLayout &l)
{
    std::vector<bool> edited(std::size_t(l.statsOffset), false);
    const auto mark = [&](int first, int count) {
        for (int k = first; k < first + count; ++k)
            edited[std::size_t(k)] = true;
    };
    if (l.sizeAndChecksum)
        mark(SizeFieldOffset, 8);
    mark(l.nameOffset, l.nameLength);
    for (const HeaderField &field : kHeaderFields) {
        if (OffsetOf(field, l) >= 0)
            mark(OffsetOf(field, l), field.bytes);
    }
    for (int d = 0; d < Difficulties; ++d) {
        const int record = l.questsOffset + QuestRecordStart + d * QuestRecordLength;
        for (int w = 0; w < QuestWordsPerDifficulty; ++w) {
            if (IsEditedQuestWord(l, w))
                mark(record + 2 * w, 2);
        }
        mark(l.waypointsOffset + WaypointBitsStart + d * WaypointRecordLength, WaypointBytes(l));
    }
    return edited;
}

void WriteHead(const ParsedCharacter &c, const ParsedCharacter &was, QByteArray &image)
{
    const FamilyLayout &l = *c.layout;
    if (c.nameSet || c.name != was.name) {
        QByteArray field = c.name;
        field.resize(l.nameLength, '\0');
        image.replace(l.nameOffset, l.nameLength, field);
    }
    for (const HeaderField &field : kHeaderFields) {
        if (OffsetOf(field, l) >= 0)
            WriteLittleEndian(image, OffsetOf(field, l), field.bytes, c.*field.value);
    }
    for (int d = 0; d < Difficulties; ++d) {
        const int record = l.questsOffset + QuestRecordStart + d * QuestRecordLength;
        for (int w = 0; w < QuestWordsPerDifficulty; ++w) {
            const quint16 word = c.questWords[std::size_t(d)][std::size_t(w)];
            image[record + 2 * w] = char(quint8(word));
            image[record + 2 * w + 1] = char(quint8(word >> 8));
        }
        const int bits = l.waypointsOffset + WaypointBitsStart + d * WaypointRecordLength;
        for (int k = 0; k < WaypointBytes(l); ++k)
            image[bits + k] = char(quint8(c.waypoints[std::size_t(d)] >> (8 * k)));
    }
}

// Why the edited values cannot be written, or an empty string.
QString Unwritable(const ParsedCharacter &c, const ParsedCharacter &was)
{
    const FamilyLayout &l = *c.layout;
    // Version 71's field takes any name, an empty one too.
    const bool needsName = l.nameRule != NameRule::Latin1Field;
    if ((c.nameSet || c.name != was.name)
        && ((needsName && c.name.isEmpty()) || c.name.contains('\0') || c.name.size() > NameCapacity(l)))
        return QStringLiteral("a name of 1 to %1 bytes is needed, not %2").arg(NameCapacity(l)).arg(c.name.size());
    for (const HeaderField &field : kHeaderFields) {
        if (OffsetOf(field, l) >= 0 && field.bytes < 4 && c.*field.value >> (8 * field.bytes) != 0)
            return QStringLiteral("%1 %2 does not fit its field").arg(QLatin1String(field.name)).arg(c.*field.value);
    }
    for (int id = 0; id < StatCount; ++id) {
        const quint32 value = c.stats.value[std::size_t(id)];
        const char *name = FieldOf(l.statCodec, id).name;
        if (value > RawMax(l.statCodec, id))
            return QStringLiteral("%1 %2 does not fit its field in version %3")
                .arg(QLatin1String(name)).arg(value).arg(c.version);
    }
    return {};
}

QStringList Check(const ParsedCharacter &meant, const ParsedCharacter &was, const QByteArray &original,
                  const QByteArray &built)
{
    QStringList out;
    const ParseResult again = Parse(built);
    if (!again.Opened())
        return {QStringLiteral("the new file does not read back: %1").arg(again.reason)};
    const ParsedCharacter &got = again.character;
    // what() names the field; it is called only for a difference.
    const auto field = [&](const auto &what, qint64 value, qint64 wanted) {
        if (value != wanted)
            out.append(QStringLiteral("%1 reads back %2, not %3").arg(what()).arg(value).arg(wanted));
    };
    const auto named = [](const char *text) { return [text] { return QLatin1String(text); }; };
    field(named("the version"), got.version, meant.version);
    if (got.name != meant.name)
        out.append(QStringLiteral("the name reads back \"%1\"").arg(NameOf(got)));
    for (const HeaderField &header : kHeaderFields)
        field(named(header.name), got.*header.value, meant.*header.value);
    for (int id = 0; id < StatCount; ++id) {
        const char *name = FieldOf(meant.layout->statCodec, id).name;
        const bool wanted = meant.stats.IsStored(id) || meant.stats.value[std::size_t(id)] != 0;
        field([name] { return QLatin1String(name) + QStringLiteral(" stored"); }, got.stats.IsStored(id), wanted);
        field(named(name), got.stats.value[std::size_t(id)], meant.stats.value[std::size_t(id)]);
    }
    for (int k = 0; k < SkillCount; ++k)
        field([k] { return QStringLiteral("skill %1").arg(k + 1); }, got.skills[std::size_t(k)], meant.skills[std::size_t(k)]);
    for (int d = 0; d < Difficulties; ++d) {
        for (int w = 0; w < QuestWordsPerDifficulty; ++w) {
            field([w, d] { return QStringLiteral("quest word %1 of difficulty %2").arg(w).arg(d); },
                  got.questWords[std::size_t(d)][std::size_t(w)], meant.questWords[std::size_t(d)][std::size_t(w)]);
        }
        field([d] { return QStringLiteral("the waypoints of difficulty %1").arg(d); },
              qint64(got.waypoints[std::size_t(d)]), qint64(meant.waypoints[std::size_t(d)]));
    }
    if (got.layout->sizeAndChecksum) {
        field(named("the file-size field"), got.sizeField, built.size());
        if (got.checksum != ChecksumState::Valid)
            out.append(QStringLiteral("the checksum does not match"));
    }

    const FamilyLayout &l = *meant.layout;
    const std::vector<bool> edited = EditedHeadBytes(l);
    const auto byte = [&](qsizetype at, qsizetype was) {
        if (built[at] != original[was])
            out.append(QStringLiteral("byte %1 is %2, the file as opened had %3 there")
                           .arg(at).arg(Hex(quint8(built[at]))).arg(Hex(quint8(original[was]))));
    };
    for (int i = 0; i < l.statsOffset; ++i) {
        if (!edited[std::size_t(i)])
            byte(i, i);
    }
    const qsizetype tail = original.size() - was.sections.statsEnd;
    if (built.size() - got.sections.statsEnd != tail)
        return out << QStringLiteral("the part after the attributes is %1 bytes long, not %2")
                          .arg(built.size() - got.sections.statsEnd).arg(tail);
    for (qsizetype k = 0; k < tail; ++k) {
        if (k < kSkillBytesStart || k >= kSkillBytesStart + SkillCount)
            byte(got.sections.statsEnd + k, was.sections.statsEnd + k);
    }
    return out;
}

} // namespace

BuildResult Build(const ParsedCharacter &edited, const QByteArray &original)
{
    const ParseResult opened = Parse(original);
    if (!opened.Opened())
        return {{}, QStringLiteral("the file as opened cannot be rebuilt: %1").arg(opened.reason)};
    const ParsedCharacter &was = opened.character;
    if (edited.version != was.version || edited.layout != was.layout
        || edited.sections.statsEnd != was.sections.statsEnd)
        return {{}, QStringLiteral("the character was not read from this file")};
    if (const QString why = Unwritable(edited, was); !why.isEmpty())
        return {{}, why};

    const FamilyLayout &l = *edited.layout;
    QByteArray image = original.left(l.statsOffset);
    WriteHead(edited, was, image);
    const QByteArrayView section = QByteArrayView(original).sliced(l.statsOffset, was.sections.statsEnd - l.statsOffset);
    image.append(EncodeStats(edited.stats, l.statCodec, section));
    const qsizetype skills = image.size() + kSkillBytesStart;
    image.append(QByteArrayView(original).sliced(was.sections.statsEnd));
    for (int k = 0; k < SkillCount; ++k)
        image[skills + k] = char(edited.skills[std::size_t(k)]);
    if (l.sizeAndChecksum)
        WriteSizeAndChecksum(image);

    const QStringList differences = Check(edited, was, original, image);
    if (!differences.isEmpty())
        return {{}, QStringLiteral("the new file failed its check (%1)").arg(differences.join(QStringLiteral("; ")))};
    return {image, {}};
}

QStringList SelfCheck(const ParsedCharacter &meant, const QByteArray &original, const QByteArray &built)
{
    const ParseResult opened = Parse(original);
    if (!opened.Opened())
        return {QStringLiteral("the file as opened does not read: %1").arg(opened.reason)};
    return Check(meant, opened.character, original, built);
}

} // namespace Format
