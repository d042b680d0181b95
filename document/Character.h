#pragma once

#include "PanelFields.h"
#include "format/Parse.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <optional>

class CDiablo2Doc;

// What an edit the character cannot take throws: the sentence that tells the
// user why. The step that throws has changed nothing; the window shows it in
// a box and stays open, the command line reports it and writes nothing.
struct EditRefusal
{
    QString text;
};

// A character as its values: the one way in which the main window and the
// command line read and change a character, of any version. Where a value
// stands in the image is the business of the format behind it (format/: one
// layout per family of file versions), which neither front end sees; the raw
// byte tools alone address bytes by offset.
//
// The character is read from the document's parse, which every view shares;
// a file with no values to read (held for the raw tools, or too short)
// throws "offset out of range" as the document's accessors do. A write changes the character
// being edited (the document's, see EditScope) and rebuilds the image from it
// (Format::Build, which reads its result back and checks it): at once, or
// once when the open EditScope commits. A rebuild that is refused throws an
// EditRefusal and leaves the image as it was.
//
// A value set to what it already is changes nothing, and a value that ends
// at zero where the file as loaded did not store it stays unstored.
// Positions (difficulty, act, quest, waypoint, skill) are list positions as
// the window's lists and the command line's names give them; the caller keeps
// them within the counts below.
class CharacterView
{
public:
    explicit CharacterView(const CDiablo2Doc &doc);

    // The version the file names (Of in FileVersion.h).
    [[nodiscard]] quint32 FileVersion() const;

    // Whether the character belongs to the expansion (false in version 71).
    [[nodiscard]] bool IsExpansion() const;

    // The state of the stored checksum as the file was read: "valid",
    // "damaged" (the next save writes a correct one) or "none" (versions 71
    // to 89 carry none; a file held for the raw tools is not checked).
    [[nodiscard]] QString ChecksumState() const;

    // The name up to its first zero byte, at most 15 characters.
    [[nodiscard]] QString Name() const;

    // The class byte as stored; it names a class only when below ClassCount().
    [[nodiscard]] quint32 ClassByte() const;
    [[nodiscard]] bool HasClass() const;
    // The classes the character may be given, ids 0 to ClassCount() - 1
    // (GameNames::ClassName names them): the five original classes, with the
    // Druid and the Assassin in an expansion character, and the Warlock too in
    // a version-105 character of the Warlock's game mode.
    [[nodiscard]] int ClassCount() const;

    // The level of the character-selection screen and that of the stat block.
    // The program keeps them equal when it sets a level; a file may not.
    [[nodiscard]] quint32 HeaderLevel() const;
    [[nodiscard]] quint32 StatLevel() const;

    [[nodiscard]] quint32 Number(FieldId id) const;
    // The most a user may enter in a field: the panel's limit, lowered for a
    // later version to what its file holds and to the game's caps (the
    // level counts for gold).
    [[nodiscard]] quint32 MostItHolds(FieldId id) const;

    [[nodiscard]] int SkillCount() const;
    [[nodiscard]] quint32 SkillLevel(int position) const;

    [[nodiscard]] int DifficultyCount() const;
    // Four acts; five in an expansion character (four, and the five
    // original classes above, for a file with no values to read).
    [[nodiscard]] int ActCount() const;
    [[nodiscard]] int QuestCount(int act) const;
    [[nodiscard]] int WaypointCount(int act) const;

    // 0 "Not Started", 1 "Started", 2 "Reward", 3 "Done".
    [[nodiscard]] int QuestState(int difficulty, int act, int quest) const;
    // Act1 and Normal are always open.
    [[nodiscard]] bool IsActOpen(int difficulty, int act) const;
    [[nodiscard]] bool IsDifficultyOpen(int difficulty) const;
    [[nodiscard]] bool IsWaypointActive(int difficulty, int act, int position) const;

    // The flags of the status byte. A file's byte holds hardcore and died
    // from version 71 on, ladder from version 92 on (HoldsFlag).
    enum class Flag { Hardcore, Died, Ladder };
    [[nodiscard]] bool HoldsFlag(Flag flag) const;
    [[nodiscard]] bool HasFlag(Flag flag) const;
    // Whether the file marks expansion characters at all (versions 92 on).
    [[nodiscard]] bool MarksExpansion() const;
    // Version 105's game mode: "classic", "expansion" or "warlock"; an empty
    // string for another version or a byte of another value.
    [[nodiscard]] QString GameMode() const;
    [[nodiscard]] bool HasGameMode() const;
    // The progression byte (acts beaten) and the title it gives (TitleOf in
    // format/Status.h); an empty title for none.
    [[nodiscard]] quint32 Progression() const;
    [[nodiscard]] QString Title() const;

    // The mercenary, where the file version's layout places it (versions 92
    // on). Hired: an id was ever given. Its type is a row of the game's
    // hireling tables (Mercenaries.h), which name it and its names.
    [[nodiscard]] bool HasMercenaryFields() const;
    [[nodiscard]] bool MercenaryHired() const;
    [[nodiscard]] bool MercenaryDead() const;
    [[nodiscard]] quint32 MercenaryType() const;
    [[nodiscard]] QString MercenaryTypeName() const;
    [[nodiscard]] quint32 MercenaryNameIndex() const;
    // The name the index gives among the type's names, or an empty string.
    [[nodiscard]] QString MercenaryName() const;
    // How many names the type has (the highest index is one less); 0 for a
    // type the tables do not hold.
    [[nodiscard]] int MercenaryNameCount() const;
    [[nodiscard]] quint32 MercenaryExperience() const;
    [[nodiscard]] int MercenaryLevel() const;
    // The most experience the mercenary may be given: that of the game's
    // highest mercenary level for its type.
    [[nodiscard]] quint32 MercenaryExperienceLimit() const;

    // Which optional values of the stat block (by field key, in file order)
    // the file itself left out, told from the presence mask as the load read
    // it (the load fills every one of them in). Empty (no value) when no mask
    // was read.
    [[nodiscard]] std::optional<QStringList> AbsentFromFile() const;

protected:
    // The character as it stands: the edits not yet built into the image, or
    // the image's parse. Throws "offset out of range" for a file held for
    // the raw tools or too short for its fields.
    [[nodiscard]] const Format::ParsedCharacter &Parsed() const;
    // Whether the character's values can be read (Parsed does not throw).
    [[nodiscard]] bool Readable() const;

    const CDiablo2Doc &m_doc;
    // The document's parse of its image, shared.
    std::shared_ptr<const Format::ParseResult> m_parse;
};

class Character : public CharacterView
{
public:
    explicit Character(CDiablo2Doc &doc);

    // Writes the name's single-byte characters and fills the rest of the field
    // with zero bytes.
    void SetName(const QString &name);
    void SetClassByte(quint32 charClass);

    // Writes both level copies as given (the window's panel holds them apart).
    // A new level whose gold cap is below the gold carried is refused, so no
    // edit leaves a combination that would be refused when typed.
    void SetLevels(quint32 headerLevel, quint32 statLevel);
    // Sets the level 1..99 as the level list does: the experience at which
    // the level begins, then both level copies. The level the character has
    // already changes nothing.
    void SetLevel(int level);

    void SetNumber(FieldId id, quint32 value);
    // Writes value, and for a current value above its row's maximum the
    // maximum too, as the panel does when that box is accepted. The value the
    // field holds already changes nothing, not even a maximum below it.
    void SetNumberRaisingMaximum(FieldId id, quint32 value);

    void SetSkillLevel(int position, quint32 level);
    // Writes a state 0..3: in version 71 its status word replaces the whole
    // word; from version 87 on only the state's bits change (0x1007) and the
    // game's other bits stay. Not Started, or any other state, writes 00 00.
    void SetQuestState(int difficulty, int act, int quest, int state);

    // The cascade of the panel's three check boxes: a waypoint switched on
    // opens its act when that is closed, an act opened opens its difficulty
    // when that is closed; switching anything off touches nothing else.
    void SetWaypointActive(int difficulty, int act, int position, bool active);
    // Act1 has no access byte: it is always open and cannot be closed.
    void SetActOpen(int difficulty, int act, bool open);
    // Changes the one bit of a difficulty; Normal has none and is always open.
    void SetDifficultyOpen(int difficulty, bool open);

    // Each refusal throws an EditRefusal and writes nothing: a flag the
    // file's byte does not hold, an expansion character with expansion
    // content made classic, a Warlock's game mode changed, a mercenary never
    // hired or one the file version does not place, a value above its limit.
    // Setting died to false on a hardcore character revives it.
    void SetFlag(Flag flag, bool on);
    void SetExpansion(bool on);
    void SetGameMode(const QString &mode);
    void SetMercenaryDead(bool dead);
    void SetMercenaryExperience(quint32 experience);
    void SetMercenaryNameIndex(quint32 index);

    // The bulk writes of the Edit menu (BulkEdits.h runs them in order).
    void OpenAllDifficulties();
    void OpenAllActs();
    void ActivateAllWaypoints();

    // Writes the file-size field and the checksum of a later version's file
    // so that they match its bytes, as every save of it needs (the raw byte
    // tools change bytes without them); every other byte stays as it is. A
    // file of version 71, or held for the raw tools, is left alone.
    void Seal();

private:
    // Throws the refusal of a mercenary edit the character cannot take.
    void RefuseWithoutMercenary() const;
    // Throws the gold cap's refusal when the gold carried is above what a
    // character of level may carry.
    void RefuseGoldAboveCapAt(quint32 level) const;

    // The character being edited, made from the image's parse at the first change.
    Format::ParsedCharacter &Editing();
    // Opens an act, and its difficulty when that is closed.
    static void OpenAct(Format::ParsedCharacter &edited, int difficulty, int act);
    // A change is made: built into the image now, or when the scope commits.
    void Edited();
    // Builds the edits gathered into the image, once.
    void Flush();

    friend class EditScope;

    CDiablo2Doc &m_edited;
};

// Gathers the edits made through any Character of doc while it is open, so
// that a command or a handler that changes many values rebuilds and checks a
// later version's image once, at Commit, which throws the EditRefusal of a
// refused build. A scope that ends without Commit (a refusal or an error on
// the way) drops its edits: the image stays as it was. Scopes nest; the
// outermost one builds. Version 71 is written byte by byte at once.
class EditScope
{
public:
    explicit EditScope(CDiablo2Doc &doc);
    ~EditScope();
    EditScope(const EditScope &) = delete;
    EditScope &operator=(const EditScope &) = delete;

    void Commit();

private:
    CDiablo2Doc &m_doc;
    bool m_open = true;
};
