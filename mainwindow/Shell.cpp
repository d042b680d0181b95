// The shell of the main window: construction, the data exchange, the lists
// filled at start-up, closing, About and Help.

#include "BrennicorDlg.h"

#include "AboutDlg.h"
#include "AutoProxy.h"
#include "document/Character.h"
#include "document/GameData.h"
#include "resources/MainDialogIds.h"
#include "document/Messages.h"
#include "resources/Resources.h"
#include "core/Prompts.h"
#include "widgets/DataExchange.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

CBrennicorDlg::CBrennicorDlg(QWidget *parent)
    : CDialog(MainDialogTemplate(), parent)
{
    setObjectName(QStringLiteral("CBrennicorDlg"));
    setAcceptDrops(true);
    MapShell();
    MapCharacterPanel();
    MapClassSkills();
    MapQuestsWaypoints();
    MapFileCommands();
    MapRename();
    MapStatus();
    MapItems();
    MapRawTools();
    ExplainControls();
}

CBrennicorDlg::~CBrennicorDlg()
{
    if (m_pAutoProxy)
        m_pAutoProxy->m_pDialog = nullptr;
}

void CBrennicorDlg::MapShell()
{
    MapCommand(ID_HELP_ABOUT, &CBrennicorDlg::OnAbout);
    MapCommand(ID_HELP_HELP, &CBrennicorDlg::OnHelp);
    MapCommand(ID_HELP, &CBrennicorDlg::OnHelpIndex);
}

void CBrennicorDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WAYPOINT, m_cbWaypoint);
    DDX_Control(pDX, IDC_LEVEL_LIST, m_cbLevel);
    DDX_Control(pDX, IDC_QUEST_STATE, m_cbQuestState);
    DDX_Control(pDX, IDC_QUEST, m_cbQuest);
    DDX_Control(pDX, IDC_ACT, m_cbAct);
    DDX_Control(pDX, IDC_DIFFICULTY, m_cbDifficulty);
    DDX_Control(pDX, IDC_SKILL, m_cbSkill);
    DDX_Control(pDX, IDC_CLASS, m_cbClass);
    DDX_Text(pDX, IDC_NAME, m_strName);
    ExchangePanelBoxes(pDX, true);
    DDX_CBIndex(pDX, IDC_CLASS, m_nClass);
    DDX_Text(pDX, IDC_SKILL_LEVEL, m_nSkillLevel);
    DDX_CBIndex(pDX, IDC_SKILL, m_nSkill);
    ExchangePanelBoxes(pDX, false);
    DDX_CBIndex(pDX, IDC_DIFFICULTY, m_nDifficulty);
    DDX_CBIndex(pDX, IDC_ACT, m_nAct);
    DDX_CBIndex(pDX, IDC_QUEST, m_nQuest);
    DDX_CBIndex(pDX, IDC_QUEST_STATE, m_nQuestState);
    DDX_CBIndex(pDX, IDC_LEVEL_LIST, m_nLevelIndex);
    DDX_Text(pDX, IDC_LEVEL, m_nLevel);
    DDX_CBIndex(pDX, IDC_WAYPOINT, m_nWaypoint);
    DDX_Check(pDX, IDC_WAYPOINT_ACTIVE, m_bWaypointActive);
    DDX_Check(pDX, IDC_ACT_ACTIVE, m_bActActive);
    DDX_Check(pDX, IDC_DIFFICULTY_ACTIVE, m_bDifficultyActive);
}

bool CBrennicorDlg::OnInitDialog()
{
    // The framework's own initialisation binds the controls.
    UpdateData(false);

    // The system menu is the window manager's here; About stays on the Help menu.
    // The window shows the application's icon, decoded once at start.

    // The class and act lists, and the number boxes' tooltips, of version 71.
    FitToCharacter(nullptr);
    for (const char *name : g_strDifficultyNames)
        m_cbDifficulty.AddString(QString::fromLatin1(name));
    m_nDifficulty = -1;
    m_nAct = -1;
    for (const char *name : g_strQuestStateNames)
        m_cbQuestState.AddString(QString::fromLatin1(name));
    m_nQuestState = -1;
    for (int level = 1; level <= kLevelCount; ++level)
        m_cbLevel.AddString(QString::number(level));
    m_nLevelIndex = -1;

    UpdateData(false);
    return true;
}

void CBrennicorDlg::OnOK()
{
    // Enter never closes the main window.
}

bool CBrennicorDlg::CanExit()
{
    if (m_pAutoProxy) {
        hide();
        return false;
    }
    return true;
}

void CBrennicorDlg::OnCancel()
{
    if (CanExit())
        CDialog::OnCancel();
}

void CBrennicorDlg::OnClose()
{
    if (CanExit())
        CDialog::OnCancel();
}

bool CBrennicorDlg::OnHandlerError(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EditRefusal &refusal) {
        // The step refused changed nothing: the window tells why, shows the
        // character as it is and stays open with the user's other edits.
        Prompts().MessageBox(this, refusal.text, AfxGetAppTitle(), MessageIcon::Exclamation);
        SyncWithDocument(false);
        OnSelchangeSkill();
        OnSelchangeDifficulty();
        return true;
    } catch (...) {
        return false;
    }
}

void CBrennicorDlg::OnAbout()
{
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

namespace {

// Where the manual is installed beside the program, else the manual right
// beside a program that runs where it was built, else the system's place.
QString helpAddress()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString &manual : {program.absoluteFilePath(QStringLiteral("../share/doc/quarvinel/README.md")),
                                  program.absoluteFilePath(QStringLiteral("README.md"))}) {
        if (QFileInfo::exists(manual))
            return QUrl::fromLocalFile(QDir::cleanPath(manual)).toString();
    }
    return QStringLiteral("file:///usr/share/doc/quarvinel/README.md");
}

} // namespace

void CBrennicorDlg::OnHelp()
{
    Prompts().MessageBox(this,
                         QStringLiteral("You will find all the help you need about this software at: ")
                             + helpAddress() + QLatin1Char('\n'),
                         QString::fromLatin1(Captions::Help), MessageIcon::None);
}

void CBrennicorDlg::OnHelpIndex()
{
    Prompts().MessageBox(
        this,
        QStringLiteral(
            "QUARVINEL edits one Diablo 2 character file (*.d2s) at a time.\n\n"
            "File, Open... loads a character; every value you change is kept in memory "
            "until File, Save writes it back. File, Backup keeps a copy beside the "
            "character (same name, extension .bak) and File, Restore loads it again.\n\n"
            "The Quests And Waypoints group shows one difficulty and act at a time; the "
            "Edit menu opens everything at once, maximizes skills and attributes, renames "
            "the character and offers three raw tools: Edit Value, Find Value and Compare.\n\n"
            "Nothing asks about unsaved changes: Close, Open, Reload, Restore and Exit "
            "drop them."),
        QString::fromLatin1(Captions::Help), MessageIcon::Information);
}
