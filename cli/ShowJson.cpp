#include "ShowJson.h"

#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/GameData.h"

#include <QFile>
#include <QJsonArray>

void AddFormatFields(QJsonObject &object, const CDiablo2Doc &doc)
{
    object.insert(QStringLiteral("formatVersion"), kJsonFormatVersion);
    const CharacterView character(doc);
    const quint32 charClass = character.ClassByte();
    object.insert(QStringLiteral("class"), character.HasClass()
                                               ? QJsonValue(QString::fromLatin1(g_strClassNames[charClass]))
                                               : QJsonValue(QJsonValue::Null));
    object.insert(QStringLiteral("classByte"), qint64(charClass));
    // null when the file can no longer be read to tell.
    QFile file(doc.GetFileName());
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(character.FileStartToTellAbsent());
    const std::optional<QStringList> absent = character.AbsentFromFile(head);
    if (!absent) {
        object.insert(QStringLiteral("absentFromFile"), QJsonValue(QJsonValue::Null));
        return;
    }
    object.insert(QStringLiteral("absentFromFile"), QJsonArray::fromStringList(*absent));
}
