#pragma once

#include "document/Diablo2Doc.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Builds character files with chosen fields for tests:
//
//     const QByteArray file = CharacterFixture().Name("Hero").Class(1).Gold(500)
//                                 .WithoutExperience().Build();
//
// The fixture keeps the character in its expanded form (every stat value at
// its fixed offset, as the document holds it after a load). Build() gives the
// bytes of the file on disk: the optional values left out are removed from the
// stat block and their mask bits cleared. Expanded() gives the image the
// document must hold after loading that file.
//
// The default character, 700 bytes, all five optional values present. Every
// byte not set below holds FillByte(offset): never zero and different for every
// offset within 128 bytes, so a byte moved or written by mistake shows.
//   version 71, name "Fixture", difficulty flags 0, class 1 (Sorceress), level 10;
//   all quest words and act bytes 0, only the Rogue Encampment waypoint of Normal;
//   Strength 15, Energy 25, Dexterity 20, Vitality 10, points to add 5 and 1;
//   Health 300, MaxHealth 400, Mana 500, MaxMana 600, MaxStamina 700, Stamina 650;
//   Experience 57715, Gold 1234, GoldInStash 5678; skill i at level (i % 20) + 1.
class CharacterFixture
{
public:
    // The five stat values a file may leave out, as bits for Without().
    struct Optional
    {
        static constexpr unsigned AttributePoints = 0x01;
        static constexpr unsigned SkillPoints = 0x02;
        static constexpr unsigned Experience = 0x04;
        static constexpr unsigned Gold = 0x08;
        static constexpr unsigned GoldInStash = 0x10;
        static constexpr unsigned All = 0x1F;
    };

    static constexpr quint32 DefaultLength = 700;

    CharacterFixture();

    // Header
    CharacterFixture &Version(quint32 fileVersion);
    CharacterFixture &Name(const QByteArray &latin1); // at most 15 bytes used
    CharacterFixture &Class(quint8 charClass);
    CharacterFixture &StatLevel(quint8 level);
    CharacterFixture &Level(quint8 level); // both level bytes
    CharacterFixture &DifficultyFlags(quint8 flags);

    // Stat block
    CharacterFixture &Health(quint16 v);
    CharacterFixture &MaxHealth(quint16 v);
    CharacterFixture &Experience(quint32 v);
    CharacterFixture &Gold(quint32 v);
    CharacterFixture &GoldInStash(quint32 v);

    // Skills, quests, acts, waypoints (difficulty 0..2, act 0..3, list positions)
    CharacterFixture &Skill(int position, quint8 level);
    CharacterFixture &QuestWord(int difficulty, int act, int position, quint8 byte0, quint8 byte1);
    CharacterFixture &ActByte(int difficulty, int act, quint8 value); // acts 1..3 only
    CharacterFixture &WaypointSet(int difficulty, quint32 bits);

    // Any byte of the expanded image, for fields the setters above do not name.
    // The presence mask bytes are computed at Build().
    CharacterFixture &Byte(quint32 offset, quint8 value);

    // Leave optional values out of the file (bits of Optional).
    CharacterFixture &Without(unsigned optionalValues);
    CharacterFixture &WithoutGold() { return Without(Optional::Gold); }
    CharacterFixture &WithoutGoldInStash() { return Without(Optional::GoldInStash); }

    // The length of the built file in bytes: longer files are padded with
    // FillByte (of the expanded offset the byte will have after a load),
    // shorter ones cut off at the end.
    CharacterFixture &Length(quint32 fileLength);

    // The bytes of the file on disk.
    [[nodiscard]] QByteArray Build() const;
    // The image the document holds after loading Build(): the left-out values
    // as zeros at their offsets and, when any was left out, both mask bytes
    // 0xFF. Meaningful for files long enough to load.
    [[nodiscard]] QByteArray Expanded() const;
    // Writes Build() to path; false when the file cannot be written.
    bool WriteTo(const QString &path) const;

    [[nodiscard]] static quint8 FillByte(quint32 offset) { return quint8(0x80 | (offset & 0x7F)); }

    // Plain file helpers.
    static bool WriteFile(const QString &path, const QByteArray &bytes);
    [[nodiscard]] static QByteArray ReadFile(const QString &path);
    // A real file of the game's, by its name in tests/data (QUARVINEL_TEST_DATA).
    [[nodiscard]] static QByteArray RealFile(const QString &name);

private:
    [[nodiscard]] quint32 Removed() const; // 4 bytes per left-out value
    void Put(quint32 first, quint32 last, quint32 value);
    [[nodiscard]] QByteArray Model(quint32 expandedLength) const;
    [[nodiscard]] QByteArray Shaped(bool expanded) const;

    QByteArray m_image; // expanded, at least DefaultLength bytes
    unsigned m_without = 0;
    std::optional<quint32> m_length;
};

// A document holding an image given directly, without a file and without the
// load's expansion: for tests of code that works on an open document.
class FixtureDoc : public CDiablo2Doc
{
public:
    FixtureDoc() = default;
    explicit FixtureDoc(const QByteArray &image, const QString &fileName = QString());
    void Hold(const QByteArray &image, const QString &fileName = QString());
};

// The whole image of a document.
QByteArray DocumentImage(const CDiablo2Doc &doc);

// The text of the C-string error that action throws, or an empty string when
// it throws none.
QString ThrownText(const std::function<void()> &action);
