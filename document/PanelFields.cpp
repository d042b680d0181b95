#include "PanelFields.h"

#include "Diablo2Doc.h"
#include "FieldLimits.h"
#include "Layout.h"

namespace {

using namespace Layout;
using F = FieldId;
using R = EntryRule;
constexpr quint32 kValue = FieldLimits::Value;
constexpr quint32 kPool = FieldLimits::Pool;
constexpr quint32 kAttribute = FieldLimits::MaximizedAttribute;
constexpr quint32 kFullPool = FieldLimits::MaximizedPool;

} // namespace

// Experience has no entry limit: any 32-bit value is accepted.
const PanelField kPanelFields[PanelFieldCount] = {
    {F::Experience, "experience", ExperienceFirst, ExperienceLast, 0xFFFFFFFFu, R::Revert, F::Experience, 0},
    {F::Gold, "gold", GoldFirst, GoldLast, kValue, R::Revert, F::Gold, 0},
    {F::GoldInStash, "goldInStash", GoldInStashFirst, GoldInStashLast, kValue, R::Revert, F::GoldInStash, 0},
    {F::Strength, "strength", StrengthFirst, StrengthLast, kValue, R::Revert, F::Strength, kAttribute},
    {F::Dexterity, "dexterity", DexterityFirst, DexterityLast, kValue, R::Revert, F::Dexterity, kAttribute},
    {F::Vitality, "vitality", VitalityFirst, VitalityLast, kValue, R::Revert, F::Vitality, kAttribute},
    {F::Energy, "energy", EnergyFirst, EnergyLast, kValue, R::Revert, F::Energy, kAttribute},
    {F::AttributePointsToAdd, "attributePointsToAdd", AttributePointsToAddFirst, AttributePointsToAddLast, kValue,
     R::Keep, F::AttributePointsToAdd, 0},
    {F::SkillPointsToAdd, "skillPointsToAdd", SkillPointsToAddFirst, SkillPointsToAddLast, kValue, R::Keep,
     F::SkillPointsToAdd, 0},
    {F::Health, "health", HealthFirst, HealthLast, kPool, R::RaiseMaximum, F::MaxHealth, kFullPool},
    {F::MaxHealth, "maxHealth", MaxHealthFirst, MaxHealthLast, kPool, R::Keep, F::MaxHealth, kFullPool},
    {F::Mana, "mana", ManaFirst, ManaLast, kPool, R::RaiseMaximum, F::MaxMana, kFullPool},
    {F::MaxMana, "maxMana", MaxManaFirst, MaxManaLast, kPool, R::Keep, F::MaxMana, kFullPool},
    {F::Stamina, "stamina", StaminaFirst, StaminaLast, kPool, R::RaiseMaximum, F::MaxStamina, kFullPool},
    {F::MaxStamina, "maxStamina", MaxStaminaFirst, MaxStaminaLast, kPool, R::Keep, F::MaxStamina, kFullPool},
};

const PanelField &Field(FieldId id)
{
    return kPanelFields[int(id)];
}

const PanelField *PanelFieldNamed(const QString &key)
{
    for (const PanelField &field : kPanelFields) {
        if (key.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

quint32 ReadField(const CDiablo2Doc &doc, FieldId id)
{
    const PanelField &field = Field(id);
    return doc.GetUInt(field.first, field.last);
}

void WriteField(CDiablo2Doc &doc, FieldId id, quint32 value)
{
    const PanelField &field = Field(id);
    doc.SetUInt(field.first, field.last, value);
}

void WriteFieldRaisingMaximum(CDiablo2Doc &doc, FieldId id, quint32 value)
{
    WriteField(doc, id, value);
    const FieldId maximum = Field(id).maximum;
    if (maximum != id && value > ReadField(doc, maximum))
        WriteField(doc, maximum, value);
}
