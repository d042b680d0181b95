// Loads arbitrary bytes as a character the way File, Open does, then drives
// the main window over the image it holds: every panel reads its fields, the
// panel writes itself back, a typed amount goes through the data exchange, the
// Edit menu's bulk commands write their bytes, and Save, Backup, Reload and
// Restore move the image through files.
//
// Besides crashes, leaks and sanitizer reports, a wrong result is a finding:
//   - the image after the load differs from the stat block's expansion;
//   - a file too short for its fields is not refused with "offset out of range";
//   - the panel shows a value other than the one in the image;
//   - a command writes outside the fields it owns, changes the image's length,
//     or leaves an error no handler caught;
//   - a bulk command leaves its fields with other values than it writes;
//   - Save or Backup writes other bytes than the image, or Reload and Restore
//     give back another image than the one saved.

#include "FuzzSupport.h"

#include "mainwindow/BrennicorDlg.h"
#include "document/FieldRules.h"
#include "document/GameData.h"
#include "resources/MainDialogIds.h"
#include "support/MainWindowAccess.h"
#include "support/Offsets71.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>

#include <exception>
#include <memory>

namespace {

using Fuzz::Fail;
using Fuzz::LittleEndian;

QString Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.left(64).toHex(' ')) + (bytes.size() > 64 ? QStringLiteral(" ...") : QString());
}

void NoPendingError(CBrennicorDlg &dlg, const char *step)
{
    if (std::exception_ptr error = dlg.TakePendingError()) {
        QString text = QStringLiteral("(not a C string)");
        try {
            std::rethrow_exception(error);
        } catch (const char *thrown) {
            text = QString::fromLatin1(thrown);
        } catch (...) {
        }
        Fail("an error escaped a handler of the main window", QString::fromLatin1(step) + QStringLiteral(": ") + text);
    }
}

void NoMessages(const char *step)
{
    if (!Fuzz::Prompts().messages.isEmpty())
        Fail("a command that should succeed showed a message",
             QString::fromLatin1(step) + QStringLiteral(": ") + Fuzz::Prompts().messages.join(QStringLiteral(" / ")));
}

// The bytes a command may change: the named fields of the character. Offsets
// outside every field (the file's header before the name, the bytes after the
// skills, the unused halves of the pool values) must stay as they were.
bool IsFieldByte(quint32 offset)
{
    using namespace Offsets71;
    auto in = [offset](quint32 first, quint32 last) { return offset >= first && offset <= last; };
    if (in(NameFirst, NameFirst + NameLength - 1) || offset == DifficultyFlags || offset == Class
        || offset == Level || offset == StatLevel)
        return true;
    if (in(Strength, SkillPoints + 3) || in(Experience, GoldInStash + 3)
        || in(Skills, MinimumSize - 1))
        return true;
    for (quint32 first : {Health, MaxHealth, Mana, MaxMana, MaxStamina, Stamina})
        if (in(first, first + 1))
            return true;
    for (int d = 0; d < kDifficultyCount; ++d) {
        for (int a = 0; a < kActCount; ++a) {
            if (a > 0 && offset == Act(d, a))
                return true;
            for (int q = 0; q < kQuestSlotsPerAct; ++q)
                if (q < QuestCountOfAct(a) && in(Quest(d, a, q), Quest(d, a, q) + 1))
                    return true;
        }
        if (in(Waypoints(d), Waypoints(d) + 3))
            return true;
    }
    return false;
}

void OnlyFieldsChanged(const QByteArray &before, const QByteArray &after, const char *step)
{
    if (before.size() != after.size())
        Fail("a command changed the length of the image",
             QStringLiteral("%1: %2 -> %3").arg(QString::fromLatin1(step)).arg(before.size()).arg(after.size()));
    for (qsizetype k = 0; k < before.size(); ++k)
        if (before[k] != after[k] && !IsFieldByte(quint32(k)))
            Fail("a command wrote outside the character's fields",
                 QStringLiteral("%1: offset %2").arg(QString::fromLatin1(step)).arg(k));
}

// The number a box of the panel shows.
quint32 Shown(const CBrennicorDlg &dlg, int id)
{
    return dlg.DlgItem<QLineEdit>(id)->text().toUInt();
}

// The panel after a load shows what the image holds.
void PanelShowsImage(const CBrennicorDlg &dlg, const QByteArray &image)
{
    using namespace Offsets71;
    struct Field
    {
        const char *name;
        quint32 shown, first, last;
    };
    const Field fields[] = {
        {"Experience", Shown(dlg, IDC_EXPERIENCE), Experience, Experience + 3},
        {"Gold", Shown(dlg, IDC_GOLD), Gold, Gold + 3},
        {"GoldInStash", Shown(dlg, IDC_GOLD_IN_STASH), GoldInStash, GoldInStash + 3},
        {"Strength", Shown(dlg, IDC_STRENGTH), Strength, Strength + 3},
        {"Energy", Shown(dlg, IDC_ENERGY), Energy, Energy + 3},
        {"Dexterity", Shown(dlg, IDC_DEXTERITY), Dexterity, Dexterity + 3},
        {"Vitality", Shown(dlg, IDC_VITALITY), Vitality, Vitality + 3},
        {"Health", Shown(dlg, IDC_HEALTH), Health, Health + 1},
        {"MaxHealth", Shown(dlg, IDC_MAX_HEALTH), MaxHealth, MaxHealth + 1},
        {"Mana", Shown(dlg, IDC_MANA), Mana, Mana + 1},
        {"MaxMana", Shown(dlg, IDC_MAX_MANA), MaxMana, MaxMana + 1},
        {"Stamina", Shown(dlg, IDC_STAMINA), Stamina, Stamina + 1},
        {"MaxStamina", Shown(dlg, IDC_MAX_STAMINA), MaxStamina, MaxStamina + 1},
        {"AttributePointsToAdd", Shown(dlg, IDC_ATTRIBUTE_POINTS_TO_ADD), AttributePoints, AttributePoints + 3},
        {"SkillPointsToAdd", Shown(dlg, IDC_SKILL_POINTS_TO_ADD), SkillPoints, SkillPoints + 3},
    };
    for (const Field &f : fields) {
        const quint32 stored = LittleEndian(image, f.first, f.last);
        if (f.shown != stored)
            Fail("the panel shows another value than the image holds",
                 QStringLiteral("%1: shown %2, stored %3").arg(QString::fromLatin1(f.name)).arg(f.shown).arg(stored));
    }
    const QByteArray nameField = image.mid(NameFirst, NameLength);
    const QString name = QString::fromLatin1(nameField.left(nameField.indexOf('\0') < 0 ? NameLength : nameField.indexOf('\0')));
    const QString shownName = dlg.DlgItem<QLineEdit>(IDC_NAME)->text();
    if (shownName != name)
        Fail("the panel shows another name than the image holds", shownName + QStringLiteral(" / ") + name);
    const quint8 charClass = quint8(image[Class]);
    if (dlg.DlgItem<QComboBox>(IDC_CLASS)->currentIndex() != (charClass < kClassCount ? int(charClass) : -1))
        Fail("the class list shows another class than the image holds", QString::number(charClass));
}

// The bulk commands an input runs, as bits of their position in kBulkCommands.
constexpr int kBulkCommands[] = {ID_EDIT_MAXIMIZE_SKILLS, ID_EDIT_MAXIMIZE_ATTRIBUTES,
                                 ID_EDIT_ACTIVATE_NIGHTMARE_AND_HELL, ID_EDIT_ACTIVATE_ALL_ACTS,
                                 ID_EDIT_ACTIVATE_ALL_WAYPOINTS, ID_EDIT_ALL_QUESTS_DONE};
enum : unsigned { RanSkills = 1, RanDifficulties = 4, RanActs = 8, RanWaypoints = 16, RanQuests = 32 };

void BulkResults(const QByteArray &image, unsigned ran)
{
    for (quint32 k = Offsets71::Skills; (ran & RanSkills) && k <= Offsets71::MinimumSize - 1; ++k)
        if (quint8(image[k]) != 20)
            Fail("Maximize Skills left a skill below the maximum", QString::number(k));
    if ((ran & RanDifficulties) && quint8(image[Offsets71::DifficultyFlags]) != kAllDifficultiesOpen)
        Fail("the difficulty byte is not the one that opens every difficulty");
    for (int d = 0; d < kDifficultyCount; ++d) {
        if ((ran & RanWaypoints) && LittleEndian(image, Offsets71::Waypoints(d), Offsets71::Waypoints(d) + 3) != kAllWaypointsSet)
            Fail("a waypoint set is not the one with every waypoint", QString::number(d));
        for (int a = 0; a < kActCount; ++a) {
            if ((ran & RanActs) && ActHasAccessByte(a) && quint8(image[Offsets71::Act(d, a)]) != ActAccessByte(true))
                Fail("an act is not open after Activate Acts", QStringLiteral("%1/%2").arg(d).arg(a));
            for (int q = 0; (ran & RanQuests) && q < QuestCountOfAct(a); ++q) {
                const quint32 at = Offsets71::Quest(d, a, q);
                const QuestWord done = QuestWordForState(kQuestStateCount - 1);
                if (quint8(image[at]) != done.byte0 || quint8(image[at + 1]) != done.byte1)
                    Fail("a quest is not done after All Quests Done",
                         QStringLiteral("%1/%2/%3 at %4: %5").arg(d).arg(a).arg(q).arg(at)
                             .arg(QString::fromLatin1(image.mid(at, 2).toHex(' '))));
            }
        }
    }
}

void CheckPlainLoad(const QString &path, const QByteArray &file, bool expectLoad, const QByteArray &expected,
                    const char *expectedError)
{
    CDiablo2Doc doc;
    const char *thrown = nullptr;
    bool loaded = false;
    try {
        loaded = doc.OpenFile(path);
    } catch (const char *text) {
        thrown = text;
    }
    if (!expectLoad) {
        if (!thrown || qstrcmp(thrown, expectedError) != 0)
            Fail("a file too short for its stat block was not refused", Hex(file));
        return;
    }
    if (thrown)
        Fail("the load threw for a file it can expand", QString::fromLatin1(thrown) + QStringLiteral(": ") + Hex(file));
    if (!loaded)
        Fail("the load of a readable file failed", Fuzz::Prompts().messages.join(QStringLiteral(" / ")));
    const QByteArray image = Fuzz::ImageOf(doc);
    if (image != expected)
        Fail("the loaded image differs from the expansion of the file",
             QStringLiteral("file %1\nimage %2\nexpected %3").arg(Hex(file), Hex(image), Hex(expected)));
    if (doc.IsModified())
        Fail("a fresh load is marked modified");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 16)
        return -1; // character files are a few kilobytes; larger inputs only slow the run
    const QByteArray file = Fuzz::Bytes(data, size);
    const QString path = Fuzz::ScratchPath(QStringLiteral("Fuzz.d2s"));
    const QString backupPath = Fuzz::ScratchPath(QStringLiteral("Fuzz.bak"));
    Fuzz::WriteFileOrDie(path, file);
    QFile::remove(backupPath);
    Fuzz::Prompts().Reset();

    QByteArray expected;
    const char *expectedError = nullptr;
    bool expandable = Fuzz::ExpectedImage(file, expected, expectedError);
    CheckPlainLoad(path, file, expandable, expected, expectedError);
    Fuzz::Prompts().Reset();

    // The window works on the layout it knows: the input goes on as a file of
    // version 71 with the signature (a file of another version is held as read, which the plain
    // load above has checked, and the window's own questions about it are
    // tested apart).
    if (file.size() >= 8) {
        QByteArray known = file;
        known.replace(0, 8, QByteArray::fromHex("55aa55aa47000000"));
        Fuzz::WriteFileOrDie(path, known);
        expandable = Fuzz::ExpectedImage(known, expected, expectedError);
    }

    // One window for the whole run, as the program has: building its controls
    // anew for every input would cost more than everything else here. Open
    // starts with Close, which resets every panel.
    static CBrennicorDlg *const dlg = [] {
        auto *window = new CBrennicorDlg;
        window->Create();
        return window;
    }();
    dlg->OpenPath(path);
    NoPendingError(*dlg, "Open");

    // A file too short to name a version is held as read for the raw tools.
    if (file.size() > 0 && file.size() < 8) {
        if (Fuzz::ImageOf(MainWindowAccess::Document(*dlg)) != file)
            Fail("the window does not hold a file too short to name a version as read", Hex(file));
        return 0;
    }
    const bool shown = expandable && !expected.isEmpty() && quint32(expected.size()) >= Offsets71::MinimumSize;
    if (!shown) {
        if (!MainWindowAccess::Document(*dlg).IsEmpty())
            Fail("the window holds an image too short to show", Hex(file));
        if (!expected.isEmpty() || !expandable) {
            if (Fuzz::Prompts().messages != QStringList{QStringLiteral("Open|offset out of range")})
                Fail("a short file was not refused with one message under Open",
                     Fuzz::Prompts().messages.join(QStringLiteral(" / ")));
            if (dlg->GetWindowText() != QStringLiteral("QUARVINEL"))
                Fail("the title names a file that is not open", dlg->GetWindowText());
        }
        return 0;
    }
    NoMessages("Open");

    // The load shows the image; the refresh that follows it writes the panel
    // back, which may only touch the panel's own fields.
    QByteArray image = Fuzz::ImageOf(MainWindowAccess::Document(*dlg));
    OnlyFieldsChanged(expected, image, "Open");
    PanelShowsImage(*dlg, image);

    // A typed amount: the tail of the input as the gold box's text.
    const QByteArray typed = file.right(10);
    dlg->DlgItem<QLineEdit>(IDC_GOLD)->setText(QString::fromLatin1(typed));
    NoPendingError(*dlg, "typing gold");
    Fuzz::Prompts().Reset(); // a text that does not parse is reported: that is expected
    QByteArray after = Fuzz::ImageOf(MainWindowAccess::Document(*dlg));
    OnlyFieldsChanged(image, after, "typing gold");
    if (Shown(*dlg, IDC_GOLD) > 2147483647u && Shown(*dlg, IDC_GOLD) != LittleEndian(image, Offsets71::Gold, Offsets71::Gold + 3))
        Fail("a typed amount above the limit was kept", QString::number(Shown(*dlg, IDC_GOLD)));
    if (LittleEndian(after, Offsets71::Gold, Offsets71::Gold + 3) != Shown(*dlg, IDC_GOLD))
        Fail("the image holds another gold amount than the panel shows");
    image = after;

    // One or two of the Edit menu's bulk commands, chosen by the first byte,
    // as the menu sends them: running all six for every input (All Quests
    // Done alone is some 500 data exchanges) would leave no time for depth.
    const quint8 choice = quint8(file[0]);
    unsigned ran = 1u << (choice % 6);
    if (choice / 6 % 7 < 6)
        ran |= 1u << (choice / 6 % 7);
    for (int k = 0; k < 6; ++k) {
        if (!(ran & (1u << k)))
            continue;
        dlg->SendCommand(kBulkCommands[k]);
        NoPendingError(*dlg, "bulk command");
        NoMessages("bulk command");
        after = Fuzz::ImageOf(MainWindowAccess::Document(*dlg));
        OnlyFieldsChanged(image, after, "bulk command");
        image = after;
    }
    BulkResults(image, ran);

    // Save writes the panel and then the image; Backup the image as it stands.
    dlg->SendCommand(ID_FILE_SAVE);
    NoPendingError(*dlg, "Save");
    NoMessages("Save");
    image = Fuzz::ImageOf(MainWindowAccess::Document(*dlg));
    if (Fuzz::ReadFileOrEmpty(path) != image)
        Fail("the saved file differs from the image");
    dlg->SendCommand(ID_FILE_BACKUP);
    NoPendingError(*dlg, "Backup");
    NoMessages("Backup");
    if (Fuzz::ReadFileOrEmpty(backupPath) != image)
        Fail("the backup differs from the image");

    // What was saved loads back as it was saved.
    dlg->SendCommand(ID_FILE_RELOAD);
    NoPendingError(*dlg, "Reload");
    NoMessages("Reload");
    if (Fuzz::ImageOf(MainWindowAccess::Document(*dlg)) != image)
        Fail("Reload gave another image than the one saved",
             QStringLiteral("saved %1\nreloaded %2").arg(Hex(image), Hex(Fuzz::ImageOf(MainWindowAccess::Document(*dlg)))));
    dlg->SendCommand(ID_FILE_RESTORE);
    NoPendingError(*dlg, "Restore");
    NoMessages("Restore");
    if (Fuzz::ImageOf(MainWindowAccess::Document(*dlg)) != image)
        Fail("Restore gave another image than the one backed up");

    dlg->SendCommand(ID_FILE_CLOSE);
    NoPendingError(*dlg, "Close");
    if (!MainWindowAccess::Document(*dlg).IsEmpty())
        Fail("Close left an image held");
    return 0;
}
