#include "ShowJson.h"

#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/GameNames.h"

#include <QJsonArray>

void AddFormatFields(QJsonObject &object, const CDiablo2Doc &doc)
{
    object.insert(QStringLiteral("formatVersion"), kJsonFormatVersion);
    const CharacterView character(doc);
    const quint32 charClass = character.ClassByte();
    object.insert(QStringLiteral("class"), character.HasClass()
                                               ? QJsonValue(GameNames::ClassName(int(charClass)))
                                               : QJsonValue(QJsonValue::Null));
    object.insert(QStringLiteral("classByte"), qint64(charClass));
    object.insert(QStringLiteral("expansion"), character.IsExpansion());
    object.insert(QStringLiteral("checksum"), character.ChecksumState());
    // Taken from the load itself: null only when the image was too short to hold the mask.
    const std::optional<QStringList> absent = character.AbsentFromFile();
    if (!absent) {
        object.insert(QStringLiteral("absentFromFile"), QJsonValue(QJsonValue::Null));
        return;
    }
    object.insert(QStringLiteral("absentFromFile"), QJsonArray::fromStringList(*absent));
}
