#include "ShowJson.h"

#include "IndentedJson.h"

#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/GameNames.h"

void AddFormatFields(IndentedJson &json, const CDiablo2Doc &doc)
{
    json.Key("formatVersion").Number(kJsonFormatVersion);
    const CharacterView character(doc);
    const quint32 charClass = character.ClassByte();
    character.HasClass() ? json.Key("class").String(GameNames::ClassName(int(charClass))) : json.Key("class").Null();
    json.Key("classByte").Number(charClass);
    json.Key("expansion").Bool(character.IsExpansion());
    json.Key("checksum").String(character.ChecksumState());
    // Taken from the load itself: null only when the image was too short to hold the mask.
    const std::optional<QStringList> absent = character.AbsentFromFile();
    if (!absent) {
        json.Key("absentFromFile").Null();
        return;
    }
    json.Key("absentFromFile").BeginArray();
    for (const QString &key : *absent)
        json.String(key);
    json.EndArray();
}
