#include "ShowJson.h"

#include "Diablo2Doc.h"
#include "GameData.h"
#include "Layout.h"

#include <QJsonArray>

namespace {

// The optional values of the stat block, in file order, with the presence
// bit that the file keeps for each. The load sets every bit once it has
// filled the values in, so the bits are read from the file itself.
struct OptionalValue
{
    const char *key;
    quint32 maskOffset;
    quint8 bit;
};

constexpr OptionalValue kOptionalValues[] = {
    {"attributePointsToAdd", Layout::StatPresenceMaskLow, Layout::AttributePointsPresentBit},
    {"skillPointsToAdd", Layout::StatPresenceMaskLow, Layout::SkillPointsPresentBit},
    {"experience", Layout::StatPresenceMaskHigh, Layout::ExperiencePresentBit},
    {"gold", Layout::StatPresenceMaskHigh, Layout::GoldPresentBit},
    {"goldInStash", Layout::StatPresenceMaskHigh, Layout::GoldInStashPresentBit},
};

} // namespace

void AddFormatFields(QJsonObject &object, const CDiablo2Doc &doc)
{
    object.insert(QStringLiteral("formatVersion"), JsonFormatVersion);
    const quint32 charClass = doc.GetUInt(Layout::CharClass, Layout::CharClass);
    object.insert(QStringLiteral("class"), charClass < quint32(ClassCount)
                                               ? QJsonValue(QString::fromLatin1(g_strClassNames[charClass]))
                                               : QJsonValue(QJsonValue::Null));
    object.insert(QStringLiteral("classByte"), qint64(charClass));
    // The mask as the load read it; null only when the image was too short to hold it.
    const std::optional<quint16> mask = doc.StatMaskAsRead();
    if (!mask) {
        object.insert(QStringLiteral("absentFromFile"), QJsonValue(QJsonValue::Null));
        return;
    }
    QJsonArray absent;
    for (const OptionalValue &value : kOptionalValues) {
        const quint8 byte = value.maskOffset == Layout::StatPresenceMaskHigh ? quint8(*mask >> 8) : quint8(*mask);
        if ((byte & value.bit) == 0)
            absent.append(QString::fromLatin1(value.key));
    }
    object.insert(QStringLiteral("absentFromFile"), absent);
}
