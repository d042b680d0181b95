#include "BulkEdits.h"

#include "Character.h"
#include "Diablo2Doc.h"
#include "FieldLimits.h"
#include "FieldRules.h"
#include "GameData.h"
#include "PanelFields.h"

void OpenAllDifficulties(CDiablo2Doc &doc)
{
    Character(doc).OpenAllDifficulties();
}

void OpenAllActs(CDiablo2Doc &doc)
{
    Character(doc).OpenAllActs();
}

void ActivateAllWaypoints(CDiablo2Doc &doc)
{
    Character(doc).ActivateAllWaypoints();
}

void MarkAllQuestsDone(CDiablo2Doc &doc)
{
    const int done = kQuestStateCount - 1;
    EditScope scope(doc);
    Character character(doc);
    for (int difficulty = 0; difficulty < character.DifficultyCount(); ++difficulty) {
        for (int act = 0; act < character.ActCount(); ++act) {
            for (int position = 0; position < character.QuestCount(act); ++position)
                character.SetQuestState(difficulty, act, position, done);
        }
    }
    scope.Commit();
}

void MaximizeSkillLevels(CDiablo2Doc &doc)
{
    EditScope scope(doc);
    Character character(doc);
    for (int position = 0; position < character.SkillCount(); ++position)
        character.SetSkillLevel(position, FieldLimits::MaximizedSkillLevel);
    scope.Commit();
}

quint32 MaximizedValue(const CharacterView &character, FieldId id)
{
    const quint32 maximized = Field(id).maximized;
    return maximized == 0 ? 0 : qMin(maximized, character.MostItHolds(id));
}

void WriteMaximizedAttributes(CDiablo2Doc &doc)
{
    EditScope scope(doc);
    Character character(doc);
    for (const PanelField &field : kPanelFields) {
        if (field.maximized != 0)
            character.SetNumber(field.id, MaximizedValue(character, field.id));
    }
    scope.Commit();
}

void OpenAll(CDiablo2Doc &doc, OpenStep upTo, const std::function<void(OpenStep)> &afterStep)
{
    const auto done = [&](OpenStep step) {
        if (afterStep)
            afterStep(step);
        return step == upTo;
    };
    OpenAllDifficulties(doc);
    if (done(OpenStep::Difficulties))
        return;
    OpenAllActs(doc);
    if (done(OpenStep::Acts))
        return;
    ActivateAllWaypoints(doc);
    done(OpenStep::Waypoints);
}

void AllQuestsDone(CDiablo2Doc &doc)
{
    EditScope scope(doc);
    OpenAll(doc, OpenStep::Acts);
    MarkAllQuestsDone(doc);
    scope.Commit();
}
