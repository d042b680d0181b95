#include "Fields.h"

#include "FieldLimits.h"
#include "Layout.h"

using namespace Layout;

// Experience has no entry limit: any 32-bit value is accepted.
const PanelField kPanelFields[PanelFieldCount] = {
    {"experience", ExperienceFirst, ExperienceLast, 0xFFFFFFFFu, nullptr},
    {"gold", GoldFirst, GoldLast, FieldLimits::Value, nullptr},
    {"goldInStash", GoldInStashFirst, GoldInStashLast, FieldLimits::Value, nullptr},
    {"strength", StrengthFirst, StrengthLast, FieldLimits::Value, nullptr},
    {"dexterity", DexterityFirst, DexterityLast, FieldLimits::Value, nullptr},
    {"vitality", VitalityFirst, VitalityLast, FieldLimits::Value, nullptr},
    {"energy", EnergyFirst, EnergyLast, FieldLimits::Value, nullptr},
    {"attributePointsToAdd", AttributePointsToAddFirst, AttributePointsToAddLast, FieldLimits::Value, nullptr},
    {"skillPointsToAdd", SkillPointsToAddFirst, SkillPointsToAddLast, FieldLimits::Value, nullptr},
    {"health", HealthFirst, HealthLast, FieldLimits::Pool, "maxHealth"},
    {"maxHealth", MaxHealthFirst, MaxHealthLast, FieldLimits::Pool, nullptr},
    {"mana", ManaFirst, ManaLast, FieldLimits::Pool, "maxMana"},
    {"maxMana", MaxManaFirst, MaxManaLast, FieldLimits::Pool, nullptr},
    {"stamina", StaminaFirst, StaminaLast, FieldLimits::Pool, "maxStamina"},
    {"maxStamina", MaxStaminaFirst, MaxStaminaLast, FieldLimits::Pool, nullptr},
};

const PanelField *PanelFieldNamed(const QString &key)
{
    for (const PanelField &field : kPanelFields) {
        if (key.compare(QLatin1String(field.key), Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}
