#include "StatusDlg.h"

#include "core/Prompts.h"
#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "document/Mercenaries.h"
#include "resources/Resources.h"
#include "resources/StatusDialogIds.h"
#include "widgets/DataExchange.h"

#include <QLabel>
#include <QWidget>

namespace {

const QString kCaption = QStringLiteral("Character and Mercenary");

// The game mode list, in the order of its items, and each mode's key in the character.
constexpr const char *kGameModes[][2] = {
    {"Classic", "classic"}, {"Expansion", "expansion"}, {"Reign of the Warlock", "warlock"}};

int GameModeIndex(const QString &key)
{
    for (int k = 0; k < int(std::size(kGameModes)); ++k) {
        if (key == QLatin1String(kGameModes[k][1]))
            return k;
    }
    return -1;
}

void Enable(CDialog &dlg, int id, bool enabled, const QString &why)
{
    QWidget *control = dlg.GetDlgItem(id);
    control->setEnabled(enabled);
    if (!why.isEmpty())
        Explain(control, why);
}

} // namespace

CStatusDlg::CStatusDlg(CDiablo2Doc *pDoc, QWidget *parent)
    : CDialog(StatusDialogTemplate(), parent), m_pDoc(pDoc)
{
    setObjectName(QStringLiteral("CStatusDlg"));
    MapEditChange(IDC_MERCENARY_EXPERIENCE, &CStatusDlg::OnChangeMercenaryExperience);
}

void CStatusDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GAME_MODE, m_cbGameMode);
    DDX_Control(pDX, IDC_MERCENARY_NAME, m_cbMercenaryName);
    DDX_Check(pDX, IDC_HARDCORE, m_bHardcore);
    DDX_Check(pDX, IDC_DIED, m_bDied);
    DDX_Check(pDX, IDC_LADDER, m_bLadder);
    DDX_Check(pDX, IDC_EXPANSION, m_bExpansion);
    DDX_CBIndex(pDX, IDC_GAME_MODE, m_nGameMode);
    DDX_Text(pDX, IDC_PROGRESSION, m_strProgression);
    DDX_Text(pDX, IDC_TITLE, m_strTitle);
    DDX_Check(pDX, IDC_MERCENARY_DEAD, m_bMercenaryDead);
    DDX_Text(pDX, IDC_MERCENARY_TYPE, m_strMercenaryType);
    DDX_CBIndex(pDX, IDC_MERCENARY_NAME, m_nMercenaryName);
    DDX_Text(pDX, IDC_MERCENARY_EXPERIENCE, m_nMercenaryExperience);
    DDX_Text(pDX, IDC_MERCENARY_LEVEL, m_strMercenaryLevel);
}

bool CStatusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowCharacter();
    return true;
}

void CStatusDlg::ShowCharacter()
{
    using Flag = CharacterView::Flag;
    const CharacterView character(*m_pDoc);
    m_bHardcore = character.HasFlag(Flag::Hardcore) ? 1 : 0;
    m_bDied = character.HasFlag(Flag::Died) ? 1 : 0;
    m_bLadder = character.HasFlag(Flag::Ladder) ? 1 : 0;
    m_bExpansion = character.IsExpansion() ? 1 : 0;
    const QString version = QString::number(character.FileVersion());

    Explain(GetDlgItem(IDC_HARDCORE), QStringLiteral("A hardcore character has one life: once it dies, the game "
                                                     "no longer lets it play."));
    Explain(GetDlgItem(IDC_DIED), QStringLiteral("The character has died at least once; the game never clears "
                                                 "this. Clearing it revives a hardcore character that died."));
    Enable(*this, IDC_LADDER, character.HoldsFlag(Flag::Ladder),
           character.HoldsFlag(Flag::Ladder)
               ? QStringLiteral("A character of the ladder season of the game's online realms. Single player "
                                "ignores it.")
               : QStringLiteral("A version-%1 file does not mark ladder characters.").arg(version));
    const bool hasMode = character.HasGameMode();
    Enable(*this, IDC_EXPANSION, character.MarksExpansion() && !hasMode,
           !character.MarksExpansion()
               ? QStringLiteral("A version-%1 file does not mark expansion characters.").arg(version)
           : hasMode ? QStringLiteral("The game mode tells whether the character plays the expansion.")
                     : QStringLiteral("A character of the expansion. A classic character may join it; one "
                                      "leaves it only without a Druid or Assassin, Act5 progress or a "
                                      "mercenary from Act5."));

    m_cbGameMode.ResetContent();
    if (hasMode) {
        for (const auto &mode : kGameModes)
            m_cbGameMode.AddString(QLatin1String(mode[0]));
    }
    m_nGameMode = GameModeIndex(character.GameMode());
    Enable(*this, IDC_GAME_MODE, hasMode,
           hasMode ? QStringLiteral("The game the character plays: classic, the expansion, or Reign of the "
                                    "Warlock. A Warlock stays in Reign of the Warlock.")
                   : QStringLiteral("Only version-105 files hold a game mode."));

    m_strProgression = QString::number(character.Progression());
    m_strTitle = character.Title().isEmpty() ? QStringLiteral("none") : character.Title();
    Explain(GetDlgItem(IDC_PROGRESSION), QStringLiteral("The acts the character has beaten over all "
                                                        "difficulties, which open Nightmare and Hell: "
                                                        "Activate Nightmare and Hell changes it."));
    Explain(GetDlgItem(IDC_TITLE), QStringLiteral("The title the game shows before the name."));

    const bool known = character.HasMercenaryFields();
    const bool hired = known && character.MercenaryHired();
    const QString state = !known ? QStringLiteral("QUARVINEL does not know where a version-%1 file keeps the "
                                                  "mercenary.").arg(version)
                          : hired ? QStringLiteral("A mercenary is hired.")
                                  : QStringLiteral("No mercenary has been hired: hire one in the game first.");
    DlgItem<QLabel>(IDC_MERCENARY_STATE)->setText(state);
    m_bMercenaryDead = hired && character.MercenaryDead() ? 1 : 0;
    m_strMercenaryType = hired ? character.MercenaryTypeName() : QString();
    if (hired && m_strMercenaryType.isEmpty())
        m_strMercenaryType = QStringLiteral("type %1, which the game's tables do not name").arg(character.MercenaryType());
    m_cbMercenaryName.ResetContent();
    m_nMercenaryName = -1;
    if (hired) {
        const int count = character.MercenaryNameCount();
        for (int k = 0; k < count; ++k)
            m_cbMercenaryName.AddString(QStringLiteral("%1: %2").arg(k).arg(
                Mercenaries::Name(character.FileVersion(), character.IsExpansion(), character.MercenaryType(), quint32(k))));
        if (character.MercenaryNameIndex() < quint32(count))
            m_nMercenaryName = int(character.MercenaryNameIndex());
    }
    m_nMercenaryExperience = hired ? character.MercenaryExperience() : 0;
    m_strMercenaryLevel = hired ? QString::number(character.MercenaryLevel()) : QString();
    for (const int id : {IDC_MERCENARY_DEAD, IDC_MERCENARY_NAME, IDC_MERCENARY_EXPERIENCE})
        GetDlgItem(id)->setEnabled(hired);
    Explain(GetDlgItem(IDC_MERCENARY_DEAD), QStringLiteral("A dead mercenary waits in town to be revived for gold."));
    Explain(GetDlgItem(IDC_MERCENARY_NAME), QStringLiteral("One of the names of the mercenary's kind."));
    if (hired)
        Explain(GetDlgItem(IDC_MERCENARY_EXPERIENCE),
                QStringLiteral("The mercenary's experience: 0 to %1, where its kind reaches level %2.")
                    .arg(character.MercenaryExperienceLimit())
                    .arg(Mercenaries::LevelCap));
    UpdateData(false);
}

void CStatusDlg::OnChangeMercenaryExperience()
{
    if (IsInDataExchange() || !UpdateData(true))
        return;
    const CharacterView character(*m_pDoc);
    if (!character.HasMercenaryFields() || !character.MercenaryHired())
        return;
    m_strMercenaryLevel = QString::number(Mercenaries::LevelOf(character.FileVersion(), character.IsExpansion(),
                                                               character.MercenaryType(), m_nMercenaryExperience));
    UpdateData(false);
}

bool CStatusDlg::WriteCharacter()
{
    using Flag = CharacterView::Flag;
    try {
        EditScope scope(*m_pDoc);
        Character character(*m_pDoc);
        character.SetFlag(Flag::Hardcore, m_bHardcore != 0);
        character.SetFlag(Flag::Died, m_bDied != 0);
        if (character.HoldsFlag(Flag::Ladder))
            character.SetFlag(Flag::Ladder, m_bLadder != 0);
        if (character.HasGameMode()) {
            if (m_nGameMode >= 0)
                character.SetGameMode(QLatin1String(kGameModes[m_nGameMode][1]));
        } else if (character.MarksExpansion()) {
            character.SetExpansion(m_bExpansion != 0);
        }
        if (character.HasMercenaryFields() && character.MercenaryHired()) {
            character.SetMercenaryDead(m_bMercenaryDead != 0);
            if (m_nMercenaryName >= 0)
                character.SetMercenaryNameIndex(quint32(m_nMercenaryName));
            character.SetMercenaryExperience(m_nMercenaryExperience);
        }
        scope.Commit();
    } catch (const EditRefusal &refusal) {
        Prompts().MessageBox(this, refusal.text, kCaption, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void CStatusDlg::OnOK()
{
    // A number that does not parse has been told by the exchange.
    if (!UpdateData(true) || !WriteCharacter())
        return;
    CDialog::OnOK();
}
