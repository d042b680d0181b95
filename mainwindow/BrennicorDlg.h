#pragma once

#include "document/BulkEdits.h"
#include "document/CharacterFiles.h"
#include "document/Diablo2Doc.h"
#include "document/PanelFields.h"
#include "widgets/ComboBox.h"
#include "widgets/Dialog.h"

#include <QString>

#include <functional>
#include <memory>

class CBrennicorDlgAutoProxy;
class CharacterView;
class CDataExchange;
class MainWindowAccess;

// The main window: a dialog with a menu that lives for the whole run and owns
// the one character document. One class, one source file per concern:
//   Shell.cpp            construction, data exchange, start-up lists, closing, About, Help
//   Explanations.cpp     the tooltips of the controls other than the number boxes
//   CharacterPanel.cpp   the "Character" group: SyncWithDocument and its edits, the level
//   ClassSkills.cpp      class, skills, Maximize Skills / Attributes
//   QuestsWaypoints.cpp  the "Quests And Waypoints:" group and the four bulk commands
//   FileCommands.cpp     Open, Reload, Save, Close, Backup, Restore, Exit
//   Rename.cpp           Rename Character
//   Status.cpp           Character and Mercenary
//   Items.cpp            Items
//   RawTools.cpp         Edit value, Find value, Compare
//
// Everything but construction and opening a path is private: the window is
// used through its controls and commands. The automation proxy registers
// itself here, and the tests' MainWindowAccess reads what no control shows.
class CBrennicorDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CBrennicorDlg(QWidget *parent = nullptr);
    ~CBrennicorDlg() override;

    // Opens path as File, Open does after its file dialog (the command line's file).
    void OpenPath(const QString &path);

protected:
    // A character file dropped on the window opens as File, Open opens it.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class CBrennicorDlgAutoProxy;
    friend class MainWindowAccess;

    // Controls bound by the data exchange.
    CComboBox m_cbWaypoint;
    CComboBox m_cbLevel;
    CComboBox m_cbQuestState;
    CComboBox m_cbQuest;
    CComboBox m_cbAct;
    CComboBox m_cbDifficulty;
    CComboBox m_cbSkill;
    CComboBox m_cbClass;

    // Values of the panel, in the order of the data exchange's members.
    QString m_strName;
    quint32 m_nExperience = 0;
    quint32 m_nGold = 0;
    quint32 m_nGoldInStash = 0;
    quint32 m_nDexterity = 0;
    quint32 m_nEnergy = 0;
    quint32 m_nStrength = 0;
    quint32 m_nVitality = 0;
    quint32 m_nMaxStamina = 0;
    quint32 m_nStamina = 0;
    quint32 m_nMaxMana = 0;
    quint32 m_nMana = 0;
    quint32 m_nMaxHealth = 0;
    quint32 m_nHealth = 0;
    int m_nClass = -1;
    quint32 m_nSkillLevel = 0;
    int m_nSkill = -1;
    quint32 m_nSkillPointsToAdd = 0;
    quint32 m_nAttributePointsToAdd = 0;
    int m_nDifficulty = -1;
    int m_nAct = -1;
    int m_nQuest = -1;
    int m_nQuestState = -1;
    int m_nLevelIndex = -1;
    quint32 m_nLevel = 0;
    int m_nWaypoint = -1;
    int m_bWaypointActive = 0;
    int m_bActActive = 0;
    int m_bDifficultyActive = 0;

    CBrennicorDlgAutoProxy *m_pAutoProxy = nullptr;
    CDiablo2Doc m_doc;

    // Shell
    // False (after hiding the window) while an automation client holds it.
    bool CanExit();
    void OnAbout();
    void OnHelp();
    void OnHelpIndex();

    // Character panel
    // false: document to panel (or reset when the form is empty); true: panel
    // to document. Returns false when the form is empty or a box does not parse.
    bool SyncWithDocument(bool bSave);
    void OnChangeExperience();
    void OnChangeGold();
    void OnChangeGoldInStash();
    void OnChangeStrength();
    void OnChangeVitality();
    void OnChangeDexterity();
    void OnChangeEnergy();
    void OnChangeMaxStamina();
    void OnChangeStamina();
    void OnChangeMaxHealth();
    void OnChangeHealth();
    void OnChangeMaxMana();
    void OnChangeMana();
    void OnChangeSkillPointsToAdd();
    void OnChangeAttributePointsToAdd();
    void OnSelchangeLevel();
    void OnLevelFromExperience();

    // Class and skills
    void OnSelchangeClass();
    void OnSelchangeSkill();
    void OnChangeSkillLevel();
    void OnMaximizeSkills();
    void OnMaximizeAttributes();

    // Quests and waypoints
    void OnSelchangeDifficulty();
    void OnSelchangeAct();
    void OnSelchangeQuest();
    void OnSelchangeQuestState();
    void OnSelchangeWaypoint();
    void OnWaypointActive();
    void OnActActive();
    void OnDifficultyActive();
    void OnActivateAllWaypoints();
    void OnActivateAllActs();
    void OnActivateNightmareAndHell();
    void OnAllQuestsDone();

    // File commands
    void OnFileOpen();
    void OnFileReload();
    void OnFileSave();
    void OnFileClose();
    void OnFileBackup();
    void OnFileRestore();
    void OnFileExit();
    // Refuses an image too short to be a character (it does not reach the last
    // skill byte) by throwing what any access past its end would.
    void RefuseShortImage();
    // True when the form has no values to show: no file is open, or the file
    // is held for the raw byte tools only (FileVersion::ShowsValues). The
    // form then stays blank and its handlers do nothing.
    [[nodiscard]] bool FormIsEmpty() const;

    // Rename
    void OnRenameCharacter();
    void RenameCharacter(const QString &newName);
    // Rename's steps once the files have moved: load the character under its
    // new file name, write the new name into it and save it. False when a
    // step failed (and said so).
    bool SaveUnderNewName(const QList<CharacterFiles::Move> &moves, const QString &newName);

    // Character and Mercenary
    void OnCharacterStatus();

    // Items
    void OnItems();

    // Raw byte tools
    void OnEditValue();
    void OnFindValue();
    void OnCompare();

    void DoDataExchange(CDataExchange *pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    bool OnHandlerError(const std::exception_ptr &error) override;

    // Each concern maps its own commands and notifications.
    void MapShell();
    void MapCharacterPanel();
    void MapClassSkills();
    void MapQuestsWaypoints();
    void MapFileCommands();
    void MapRename();
    void MapStatus();
    void MapItems();
    void MapRawTools();

    // The worker of Open: loads with load (the file dialog, or a path) and shows
    // every panel; a thrown error is shown under "Open" and leaves the window empty.
    void OpenDocumentAndShow(const std::function<bool()> &load);
    // Writes the panel into the image and the image to disk, with Save's messages.
    // versionAgreed: the user has already agreed to save a character of another
    // file version in this command, so Save does not ask again.
    bool SaveDocument(bool versionAgreed = false);
    // The lock on the character's folder, after a short wait for another
    // program's save; while it stays busy the user is asked whether to try
    // again. Null when the user gave up.
    std::unique_ptr<CharacterFiles::Lock> LockCharacterFile(const QString &caption);
    // Reload and Restore: close, load again with load, show, or report under caption.
    static void ReopenCharacter(CBrennicorDlg &dlg, const QString &caption, const QString &failure,
                                const std::function<bool(const QString &)> &load,
                                const std::function<void()> &show);

    // The panel's member of a number field, and the exchange of the number
    // boxes before (true) or after (false) the class row.
    quint32 &PanelValue(FieldId field);
    // The class and act lists as long as the open character has them (an
    // expansion character has more classes and five acts), and the number
    // boxes' tooltips with the limits of its file; those of version 71 for
    // null, when no character is open.
    void FitToCharacter(const CharacterView *character);
    // Gives the controls other than the number boxes their tooltips.
    void ExplainControls();
    void ExchangePanelBoxes(CDataExchange *pDX, bool beforeClassRow);
    // What a change in a number box does, by the field's entry rule.
    void ChangePanelBox(FieldId field);
    // Runs the opening commands' steps up to upTo, showing the panel after each.
    void OpenAllAndShow(OpenStep upTo);
};
