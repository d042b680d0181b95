#include "SetCommand.h"

#include "document/Character.h"
#include "Session.h"
#include "Console.h"
#include "document/FieldLimits.h"
#include "document/GameData.h"
#include "document/GameNames.h"
#include "Names.h"
#include "document/PanelFields.h"

#include <QList>

namespace {

const QString kCaption = QStringLiteral("set");
const QLatin1String kSkillPrefix("skill:");

// One FIELD=VALUE of the command line, checked before any file is touched.
struct Assignment
{
    enum Kind { Panel, Level, Class, Skill, Flag, Expansion, GameMode, MercenaryDead, MercenaryExperience,
                MercenaryName };
    Kind kind = Panel;
    QString field;  // as typed
    QString skill;  // Skill: the name or position as typed
    const PanelField *panel = nullptr;
    quint32 value = 0; // the number, the level, the class index, a flag's 0 or 1
    CharacterView::Flag flag = CharacterView::Flag::Hardcore;
    QString text;   // GameMode: the mode as typed
};

// The fields of the status byte, the game mode and the mercenary.
struct StatusField
{
    const char *key;
    Assignment::Kind kind;
    CharacterView::Flag flag;
};

constexpr StatusField kStatusFields[] = {
    {"hardcore", Assignment::Flag, CharacterView::Flag::Hardcore},
    {"died", Assignment::Flag, CharacterView::Flag::Died},
    {"ladder", Assignment::Flag, CharacterView::Flag::Ladder},
    {"expansion", Assignment::Expansion, {}},
    {"gameMode", Assignment::GameMode, {}},
    {"mercenaryDead", Assignment::MercenaryDead, {}},
    {"mercenaryExperience", Assignment::MercenaryExperience, {}},
    {"mercenaryName", Assignment::MercenaryName, {}},
};

bool ReadFlag(const QString &field, const QString &text, quint32 &value)
{
    static const char *const kWords[][2] = {{"false", "true"}, {"no", "yes"}, {"0", "1"}};
    for (const auto &pair : kWords) {
        for (quint32 on = 0; on < 2; ++on) {
            if (text.trimmed().compare(QLatin1String(pair[on]), Qt::CaseInsensitive) == 0) {
                value = on;
                return true;
            }
        }
    }
    Report(kCaption, QStringLiteral("%1 \"%2\" is none of true, false, yes, no, 1, 0.").arg(field, text));
    return false;
}

bool ParseStatus(const StatusField &field, const QString &text, Assignment &a)
{
    a.kind = field.kind;
    a.flag = field.flag;
    a.field = QLatin1String(field.key);
    switch (field.kind) {
    case Assignment::GameMode:
        a.text = text.trimmed();
        return true;
    case Assignment::MercenaryExperience:
    case Assignment::MercenaryName:
        // The limits depend on the mercenary's type: the character tells them.
        return ReadUnsigned(kCaption, a.field, text, a.value);
    default:
        return ReadFlag(a.field, text, a.value);
    }
}

// An argument is an assignment when it holds '=' and the text before it
// could be a field name (field names never hold '/', so a path such as
// ./a=b.d2s stays a file).
bool IsAssignment(const QString &argument)
{
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    return equals > 0 && !argument.left(equals).contains(QLatin1Char('/'));
}

bool ReadLimited(const QString &field, const QString &text, quint32 limit, quint32 &value,
                 QString (*overLimit)(const QString &, const QString &, quint64) = OverLimitText)
{
    if (!ReadUnsigned(kCaption, field, text, value))
        return false;
    if (value > limit) {
        Report(kCaption, overLimit(field, QString::number(value), limit));
        return false;
    }
    return true;
}

bool Parse(const QString &argument, Assignment &a)
{
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    a.field = argument.left(equals).trimmed();
    const QString text = argument.mid(equals + 1);

    if (a.field.startsWith(kSkillPrefix, Qt::CaseInsensitive)) {
        a.kind = Assignment::Skill;
        a.skill = a.field.mid(kSkillPrefix.size());
        if (NameKey(a.skill).isEmpty()) {
            Report(kCaption, QStringLiteral("\"%1\" names no skill.").arg(a.field));
            return false;
        }
        // The skill's byte holds up to 255; the editor sets up to its own limit.
        return ReadLimited(a.field, text, FieldLimits::SkillLevel, a.value, OverEditorLimitText);
    }
    if (a.field.compare(QLatin1String("class"), Qt::CaseInsensitive) == 0) {
        a.kind = Assignment::Class;
        const int charClass = ClassFromName(text);
        if (charClass < 0) {
            Report(kCaption, QStringLiteral("class \"%1\" is none of %2.").arg(text, ClassNames().join(QStringLiteral(", ")))
                                 + DidYouMean(ClassNames(), text));
            return false;
        }
        a.value = quint32(charClass);
        return true;
    }
    if (a.field.compare(QLatin1String("level"), Qt::CaseInsensitive) == 0) {
        a.kind = Assignment::Level;
        if (!ReadUnsigned(kCaption, a.field, text, a.value))
            return false;
        if (a.value < 1 || a.value > quint32(kLevelCount)) {
            Report(kCaption, QStringLiteral("level %1 is not a level from 1 to %2.").arg(a.value).arg(kLevelCount));
            return false;
        }
        return true;
    }
    for (const StatusField &field : kStatusFields) {
        if (a.field.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0)
            return ParseStatus(field, text, a);
    }
    a.kind = Assignment::Panel;
    a.panel = PanelFieldNamed(a.field);
    if (!a.panel) {
        ReportWrongCommandLine(QStringLiteral("unknown field \"%1\". See 'brennicor-cli set --help'.").arg(a.field));
        return false;
    }
    return ReadLimited(QLatin1String(a.panel->key), text, a.panel->limit, a.value);
}

// Writes one assignment as the panel's handler for that box writes it.
bool Apply(CDiablo2Doc &doc, const Assignment &a)
{
    Character character(doc);
    switch (a.kind) {
    case Assignment::Panel:
        character.SetNumberRaisingMaximum(a.panel->id, a.value);
        return true;
    case Assignment::Level:
        character.SetLevel(int(a.value));
        return true;
    case Assignment::Class:
        if (a.value >= quint32(character.ClassCount())) {
            Report(kCaption, QStringLiteral("this character cannot be a %1: it can be one of %2.")
                                 .arg(GameNames::ClassName(int(a.value)),
                                      ClassNames().mid(0, character.ClassCount()).join(QStringLiteral(", "))));
            return false;
        }
        character.SetClassByte(a.value);
        return true;
    case Assignment::Skill: {
        // Skill names are those of the class the file holds at this step, so
        // a class set earlier in the same command names the skills after it.
        // A class byte that names no class the character can have names no
        // skills either: its skills are taken by position only.
        const int charClass = int(character.ClassByte());
        const int named = character.HasClass() ? charClass : -1;
        const int position = SkillFromName(named, a.skill);
        if (position < 0) {
            const QString className = character.HasClass() ? GameNames::ClassName(charClass)
                                                           : QStringLiteral("class %1").arg(charClass);
            Report(kCaption, QStringLiteral("%1 has no skill \"%2\".").arg(className, a.skill)
                                 + DidYouMean(SkillNamesOf(named), a.skill));
            return false;
        }
        character.SetSkillLevel(position, a.value);
        return true;
    }
    case Assignment::Flag:
        character.SetFlag(a.flag, a.value != 0);
        return true;
    case Assignment::Expansion:
        character.SetExpansion(a.value != 0);
        return true;
    case Assignment::GameMode:
        character.SetGameMode(a.text);
        return true;
    case Assignment::MercenaryDead:
        character.SetMercenaryDead(a.value != 0);
        return true;
    case Assignment::MercenaryExperience:
        character.SetMercenaryExperience(a.value);
        return true;
    case Assignment::MercenaryName:
        character.SetMercenaryNameIndex(a.value);
        return true;
    }
    return false;
}

} // namespace

QStringList StatusFieldKeys()
{
    QStringList keys;
    for (const StatusField &field : kStatusFields)
        keys.append(QLatin1String(field.key));
    return keys;
}

int RunSet(const Invocation &invocation)
{
    QStringList files;
    QList<Assignment> assignments;
    bool ok = true;
    for (const QString &operand : invocation.operands) {
        if (!IsAssignment(operand)) {
            files.append(operand);
            continue;
        }
        Assignment a;
        if (Parse(operand, a))
            assignments.append(a);
        else
            ok = false;
    }
    if (files.isEmpty() || (ok && assignments.isEmpty())) {
        Report(QStringLiteral("brennicor-cli set"),
               QStringLiteral("give one or more files and one or more FIELD=VALUE. Try 'brennicor-cli set --help'."));
        return ExitUsage;
    }
    if (!ok)
        return ExitFailure;

    return EditCharacters(files, kCaption, invocation.Has("dry-run"), [&](CDiablo2Doc &doc) {
        for (const Assignment &a : assignments) {
            if (!Apply(doc, a))
                return false;
        }
        return true;
    });
}
