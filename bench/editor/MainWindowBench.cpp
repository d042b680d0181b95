// The main window: opening a character, a keystroke in the gold box, choosing
// a class, "All Quests Done". The window is the real one, shown on the
// offscreen platform, with prompts that record instead of blocking.

#include "EditorBench.h"

#include "bench/common/BenchCharacter.h"
#include "document/Character.h"
#include "document/GameData.h"
#include "document/PanelFields.h"
#include "mainwindow/BrennicorDlg.h"
#include "resources/MainDialogIds.h"
#include "support/MainWindowAccess.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

struct MainWindow
{
    ScriptedPrompts prompts;
    CBrennicorDlg dlg;
};

MainWindow *g_window = nullptr;

// The shown main window with the character at path open, as after
// File, Open; created on first use.
MainWindow &OpenWindow(const QString &path)
{
    if (!g_window) {
        g_window = new MainWindow;
        AtSessionEnd([] {
            delete g_window;
            g_window = nullptr;
        });
        g_window->dlg.Create();
        QCoreApplication::processEvents();
    }
    MainWindow &window = *g_window;
    window.dlg.OpenPath(path);
    QCoreApplication::processEvents();
    window.prompts.Reset();
    return window;
}

// The same with the benchmark character (version 71) open.
MainWindow &OpenWindow()
{
    return OpenWindow(BenchFiles::Get().Character());
}

// The gold the document holds, read as the front ends read it.
quint32 DocumentGold(MainWindow &window)
{
    return CharacterView(MainWindowAccess::Document(window.dlg)).Number(FieldId::Gold);
}

// Something a user would have seen: any message box, or a handler's error.
bool Troubled(MainWindow &window, benchmark::State &state)
{
    if (std::exception_ptr error = window.dlg.TakePendingError()) {
        state.SkipWithError("a handler threw an error");
        return true;
    }
    if (!window.prompts.messages.isEmpty()) {
        const QString text = window.prompts.messages.first().caption + QStringLiteral(": ")
            + window.prompts.messages.first().text;
        state.SkipWithError(qPrintable(QStringLiteral("a message box appeared: ") + text));
        return true;
    }
    return false;
}

// File, Open of an ordinary character: load, expansion, every panel filled
// (character panel, quests and waypoints, class and skills) and the title.
void OpenSequence(benchmark::State &state)
{
    MainWindow &window = OpenWindow();
    const QString path = BenchFiles::Get().Character();
    for (auto _ : state)
        window.dlg.OpenPath(path);
    if (Troubled(window, state))
        return;
    const QString title = QStringLiteral("QUARVINEL: ") + QString::fromLatin1(kBenchCharacterFileName);
    if (window.dlg.windowTitle() != title || window.dlg.DlgItem<QLineEdit>(IDC_GOLD)->text() != QLatin1String("123456")
        || window.dlg.DlgItem<QComboBox>(IDC_CLASS)->currentIndex() != 3
        || window.dlg.DlgItem<QComboBox>(IDC_SKILL)->count() != kSkillsPerClass
        || window.dlg.DlgItem<QComboBox>(IDC_QUEST)->count() == 0)
        state.SkipWithError("the window does not show the opened character");
}

// The same for a real file of version 96: its own name in the title, the
// Sorceress chosen, the box showing the gold the file holds.
void OpenSequenceVersion96(benchmark::State &state)
{
    const QString path = BenchFiles::Get().RealVersion96();
    MainWindow &window = OpenWindow(path);
    for (auto _ : state)
        window.dlg.OpenPath(path);
    if (Troubled(window, state))
        return;
    const QString title = QStringLiteral("QUARVINEL: ") + QString::fromLatin1(BenchFiles::RealVersion96FileName);
    if (window.dlg.windowTitle() != title ||
        window.dlg.DlgItem<QLineEdit>(IDC_GOLD)->text() != QLatin1String("458536") || DocumentGold(window) != 458536 ||
        window.dlg.DlgItem<QComboBox>(IDC_CLASS)->currentIndex() != 1 ||
        window.dlg.DlgItem<QComboBox>(IDC_SKILL)->count() != kSkillsPerClass ||
        window.dlg.DlgItem<QComboBox>(IDC_QUEST)->count() == 0)
        state.SkipWithError("the window does not show the opened version-96 character");
}

// One key typed into the gold box, as the user types it: the key event, the
// edit's change, and the change handler with its whole write-back of the
// panel. Keys alternate between typing a digit and erasing it.
void GoldKeystroke(benchmark::State &state)
{
    MainWindow &window = OpenWindow();
    auto *gold = window.dlg.DlgItem<QLineEdit>(IDC_GOLD);
    gold->setFocus();
    gold->end(false);
    bool typeDigit = true;
    for (auto _ : state) {
        QTest::keyClick(gold, typeDigit ? Qt::Key_7 : Qt::Key_Backspace);
        typeDigit = !typeDigit;
    }
    if (Troubled(window, state))
        return;
    // The file holds what the box shows.
    const quint32 shown = gold->text().toUInt();
    if (gold->text().isEmpty() || CharacterView(MainWindowAccess::Document(window.dlg)).Number(FieldId::Gold) != shown)
        state.SkipWithError("the gold typed did not reach the document");
}

// The same keystroke in the gold box of a real file of version 96, whose
// every write rebuilds the file. Its gold (458536) is first cut to 45853 with
// one Backspace, so that the digit typed keeps it within the level's cap
// (940000); then keys alternate between typing a digit and erasing it.
void GoldKeystrokeVersion96(benchmark::State &state)
{
    MainWindow &window = OpenWindow(BenchFiles::Get().RealVersion96());
    auto *gold = window.dlg.DlgItem<QLineEdit>(IDC_GOLD);
    gold->setFocus();
    gold->end(false);
    QTest::keyClick(gold, Qt::Key_Backspace);
    bool typeDigit = true;
    for (auto _ : state) {
        QTest::keyClick(gold, typeDigit ? Qt::Key_7 : Qt::Key_Backspace);
        typeDigit = !typeDigit;
    }
    if (Troubled(window, state))
        return;
    const QString shown = gold->text();
    if ((shown != QLatin1String("45853") && shown != QLatin1String("458537")) || DocumentGold(window) != shown.toUInt())
        state.SkipWithError("the gold typed did not reach the document");
}

// The gold box's change handler alone, with its whole write-back: each step
// enters a new value (424242 and 424243 by turns).
void GoldHandler(benchmark::State &state)
{
    MainWindow &window = OpenWindow();
    auto *gold = window.dlg.DlgItem<QLineEdit>(IDC_GOLD);
    quint32 entered = 424242;
    for (auto _ : state) {
        entered ^= 1;
        gold->setText(QString::number(entered));
    }
    if (Troubled(window, state))
        return;
    if (CharacterView(MainWindowAccess::Document(window.dlg)).Number(FieldId::Gold) != entered)
        state.SkipWithError("the handler did not write the gold");
}

// A class chosen from the class list: the class written with the panel, the
// skill list refilled with that class's 30 skills, the first skill's level shown.
void ChooseClass(benchmark::State &state)
{
    MainWindow &window = OpenWindow();
    auto *classes = window.dlg.DlgItem<QComboBox>(IDC_CLASS);
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % classes->count();
        classes->setCurrentIndex(index);
        Q_EMIT classes->activated(index);
    }
    if (Troubled(window, state))
        return;
    if (CharacterView(MainWindowAccess::Document(window.dlg)).ClassByte() != quint32(index)
        || window.dlg.DlgItem<QComboBox>(IDC_SKILL)->count() != kSkillsPerClass)
        state.SkipWithError("the class chosen did not reach the document");
}

// Edit, All Quests Done: every act and difficulty opened, the panel walked
// through all 63 quests, each marked done.
void AllQuestsDoneCommand(benchmark::State &state)
{
    MainWindow &window = OpenWindow();
    for (auto _ : state)
        window.dlg.SendCommand(ID_EDIT_ALL_QUESTS_DONE);
    if (Troubled(window, state))
        return;
    const CDiablo2Doc &doc = MainWindowAccess::Document(window.dlg);
    const CharacterView character(doc);
    int done = 0;
    for (int difficulty = 0; difficulty < kDifficultyCount; ++difficulty) {
        for (int act = 0; act < kActCount; ++act) {
            for (int quest = 0; quest < QuestCountOfAct(act); ++quest)
                done += character.QuestState(difficulty, act, quest) == kQuestStateCount - 1 ? 1 : 0;
        }
    }
    if (done < 63)
        state.SkipWithError(qPrintable(QStringLiteral("only %1 of the 63 quest words read done").arg(done)));
    else if (window.dlg.DlgItem<QComboBox>(IDC_DIFFICULTY)->currentIndex() != 2
             || window.dlg.DlgItem<QComboBox>(IDC_ACT)->currentIndex() != 3
             || window.dlg.DlgItem<QComboBox>(IDC_QUEST_STATE)->currentIndex() != 3)
        state.SkipWithError("the panel did not end on Hell, Act4, Done");
}

} // namespace

void RegisterMainWindowBenchmarks()
{
    using benchmark::kMicrosecond;
    using benchmark::kMillisecond;
    AddBenchmark("open_character", 1e6, kMicrosecond, OpenSequence);
    AddBenchmark("open_character_v96", 1e6, kMicrosecond, OpenSequenceVersion96);
    AddBenchmark("gold_keystroke", 100e3, kMicrosecond, GoldKeystroke);
    AddBenchmarkAgainst("gold_keystroke_v96", "gold_keystroke", 2, kMicrosecond, GoldKeystrokeVersion96);
    AddBenchmark("gold_handler", 100e3, kMicrosecond, GoldHandler);
    AddBenchmark("choose_class", 0, kMicrosecond, ChooseClass);
    AddBenchmark("all_quests_done", 20e6, kMillisecond, AllQuestsDoneCommand);
}
