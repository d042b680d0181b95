#include "PanelFields.h"

#include "FieldLimits.h"

namespace {

using F = FieldId;
using R = EntryRule;
constexpr quint32 kValue = FieldLimits::Value;
constexpr quint32 kPool = FieldLimits::Pool;
constexpr quint32 kAttribute = FieldLimits::MaximizedAttribute;
constexpr quint32 kFullPool = FieldLimits::MaximizedPool;

} // namespace

// Experience has no entry limit: any 32-bit value is accepted.
const PanelField kPanelFields[kPanelFieldCount] = {
    {F::Experience, "experience", 0xFFFFFFFFu, R::Revert, F::Experience, 0},
    {F::Gold, "gold", kValue, R::Revert, F::Gold, 0},
    {F::GoldInStash, "goldInStash", kValue, R::Revert, F::GoldInStash, 0},
    {F::Strength, "strength", kValue, R::Revert, F::Strength, kAttribute},
    {F::Dexterity, "dexterity", kValue, R::Revert, F::Dexterity, kAttribute},
    {F::Vitality, "vitality", kValue, R::Revert, F::Vitality, kAttribute},
    {F::Energy, "energy", kValue, R::Revert, F::Energy, kAttribute},
    {F::AttributePointsToAdd, "attributePointsToAdd", kValue, R::Keep, F::AttributePointsToAdd, 0},
    {F::SkillPointsToAdd, "skillPointsToAdd", kValue, R::Keep, F::SkillPointsToAdd, 0},
    {F::Health, "health", kPool, R::RaiseMaximum, F::MaxHealth, kFullPool},
    {F::MaxHealth, "maxHealth", kPool, R::Keep, F::MaxHealth, kFullPool},
    {F::Mana, "mana", kPool, R::RaiseMaximum, F::MaxMana, kFullPool},
    {F::MaxMana, "maxMana", kPool, R::Keep, F::MaxMana, kFullPool},
    {F::Stamina, "stamina", kPool, R::RaiseMaximum, F::MaxStamina, kFullPool},
    {F::MaxStamina, "maxStamina", kPool, R::Keep, F::MaxStamina, kFullPool},
};

namespace {

// The place of a field in the panel's table, which lists them in the order of `show`.
int PlaceOf(FieldId id)
{
    int place = 0;
    while (place + 1 < kPanelFieldCount && kPanelFields[place].id != id)
        ++place;
    return place;
}

} // namespace

const PanelField &Field(FieldId id)
{
    return kPanelFields[PlaceOf(id)];
}

QString FieldExplanation(FieldId id, quint32 limit)
{
    static const char *const kWhat[kPanelFieldCount] = {
        "Experience points",        "Gold carried",          "Gold in the stash",
        "Strength",                 "Dexterity",             "Vitality",
        "Energy",                   "Stat points not spent", "Skill points not spent",
        "Current life",             "Maximum life",          "Current mana",
        "Maximum mana",             "Current stamina",       "Maximum stamina",
    };
    const PanelField &field = Field(id);
    QString text = QStringLiteral("%1: a whole number from 0 to %2.").arg(QLatin1String(kWhat[PlaceOf(id)])).arg(limit);
    if (id != FieldId::Experience)
        text += QStringLiteral(" A larger number is taken as %1.").arg(limit);
    if (field.rule == EntryRule::RaiseMaximum)
        text += QStringLiteral(" Above the maximum beside it, it raises that maximum too.");
    return text;
}

QString OverLimitText(const QString &what, const QString &value, quint64 limit)
{
    return QStringLiteral("%1 %2 is more than %3, the most it can hold.").arg(what, value).arg(limit);
}

QString OverEditorLimitText(const QString &what, const QString &value, quint64 limit)
{
    return QStringLiteral("%1 %2 is more than %3, the most the editor sets.").arg(what, value).arg(limit);
}

const PanelField *PanelFieldNamed(const QString &key)
{
    for (const PanelField &field : kPanelFields) {
        if (key.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

