#pragma once

#include "document/CharacterItems.h"
#include "widgets/Dialog.h"

#include <QString>

#include <vector>

class CDiablo2Doc;
class ItemGrid;

// Edit, Items: the items of the open character as a player knows them, read
// only. One tab per list (the character's, the mercenary's, the corpse's and
// the iron golem's when it holds one); the character's page shows the body
// slots, the inventory, the belt, the stash and the Horadric Cube as grids
// (ItemGrid), the items that stand in none of them in a list of their own.
// Choosing an item by click or key shows its details: its numbers, its flags,
// what fills its sockets and every property line. A list the program could
// not read to its end says why above the grids. Below them: the game's tables
// the items are read with (the built-in ones of the file's release, or a
// folder of the game's .txt tables chosen here, ItemsGameData), and buttons to
// choose such a folder or go back to the built-in tables; either reads the
// items again. Nothing here changes the file.
class CItemsDlg : public CDialog
{
    Q_OBJECT

public:
    // pDoc is the open character's document, with values to show; it is not
    // owned. items are its items as the caller read them, with the tables of
    // WindowItemsGameData(); tablesNote is why a remembered folder's tables
    // could not be used, empty when they could or none is remembered.
    CItemsDlg(const CDiablo2Doc *pDoc, CharacterItems::Items items, const QString &tablesNote,
              QWidget *parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    struct Page
    {
        QString title;
        QString list;  // the list's name in the core
    };

    void OnSelchangeItemLists();
    void OnSelchangeEquipped();
    void OnSelchangeInventory();
    void OnSelchangeBelt();
    void OnSelchangeStash();
    void OnSelchangeCube();
    void OnSelchangeOtherItems();
    void OnGameDataFolder();
    void OnBuiltInTables();

    // The tabs of the lists read, the first one's page shown.
    void ShowLists();
    // Reads the items again with the tables now chosen, and shows them.
    void ReadAgain();
    // Which tables the items were read with, and the note when a remembered
    // folder's could not be used.
    void ShowTables();

    // Fills the page of a tab: the grids, the other items and the note.
    void ShowPage(int tab);
    // Lays the items of list out on the grids; those that fit none go to the
    // list of other items.
    void PlaceItems(const CharacterItems::List &list);
    // The item chosen in the grid id (or the list of other items) becomes the
    // only one chosen, and its details show.
    void ChooseIn(int id);
    void ShowDetails(const CharacterItems::Item *item);
    [[nodiscard]] ItemGrid *Grid(int id) const;

    const CDiablo2Doc *m_pDoc;
    CharacterItems::Items m_items;
    QString m_tablesNote;
    quint32 m_nFileVersion = 0;
    bool m_bExpansion = false;
    std::vector<Page> m_pages;
    std::vector<const CharacterItems::Item *> m_otherItems;  // by row of the list
};
