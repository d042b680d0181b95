#include "ItemsDlg.h"

#include "ItemGrid.h"
#include "ItemsGameData.h"
#include "core/Prompts.h"
#include "document/Character.h"
#include "document/Diablo2Doc.h"
#include "resources/ItemsDialogIds.h"
#include "widgets/QtPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabBar>

using CharacterItems::Item;
using CharacterItems::List;

namespace {

// The body slots as the game's character screen shows them, in cells of a
// 12 by 8 grid: the weapons at the sides (the switch weapons outside them),
// head, body and belt down the middle, the amulet, rings, gloves and boots
// around them. The amulet and the rings take two cells, room for their names.
struct BodySlot
{
    int slot;
    QRect cells;
    const char *label;
};
constexpr int kBodyColumns = 12;
constexpr int kBodyRows = 8;
const BodySlot kBodySlots[] = {
    {1, {5, 0, 2, 2}, "Head"},          {2, {7, 0, 2, 1}, "Amulet"},
    {3, {5, 2, 2, 3}, "Body"},          {4, {2, 1, 2, 4}, "Right hand"},
    {5, {8, 1, 2, 4}, "Left hand"},     {6, {3, 5, 2, 1}, "Right ring"},
    {7, {7, 5, 2, 1}, "Left ring"},     {8, {5, 5, 2, 1}, "Belt"},
    {9, {8, 6, 2, 2}, "Feet"},          {10, {2, 6, 2, 2}, "Gloves"},
    {11, {0, 1, 2, 4}, "Right hand (switch)"}, {12, {10, 1, 2, 4}, "Left hand (switch)"},
};
constexpr int kSwitchRight = 11;
// A mercenary wears a helm, an armor, a weapon and, by its kind, a shield.
constexpr int kMercenarySlots[] = {1, 3, 4, 5};

// Each grid with the label above it and the cells it is laid out for.
struct GridPlace
{
    int id;
    int label;
    int columns;
    int rows;
};
const GridPlace kGrids[] = {
    {IDC_EQUIPPED, IDC_EQUIPPED_LABEL, kBodyColumns, kBodyRows},
    {IDC_INVENTORY, IDC_INVENTORY_LABEL, 10, 4},
    {IDC_BELT, IDC_BELT_LABEL, 4, 4},
    {IDC_STASH, IDC_STASH_LABEL, 10, 10},
    {IDC_CUBE, IDC_CUBE_LABEL, 3, 4},
};

const char *const kGridExplanations[][2] = {
    {"equipped", "What the character wears, slot by slot."},
    {"inventory", "The inventory, column by column from the left and row by row from the top."},
    {"belt", "The belt: the bottom row is the one at hand (keys 1 to 4)."},
    {"stash", "The stash, column by column from the left and row by row from the top."},
    {"cube", "The Horadric Cube."},
};

const List *FindList(const CharacterItems::Items &items, const QString &name)
{
    for (const List &list : items.lists) {
        if (list.list == name)
            return &list;
    }
    return nullptr;
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

// Where an item is, in words: its body slot, or its grid with the column and
// row counted from 1.
QString PlaceText(const Item &item)
{
    const CharacterItems::Place place = CharacterItems::PlaceOf(item);
    if (!place.slot.isEmpty())
        return QStringLiteral("equipped: %1").arg(place.slot);
    if (place.storage == QLatin1String("cursor"))
        return QStringLiteral("held by the cursor");
    if (place.storage == QLatin1String("other"))
        return QStringLiteral("elsewhere");
    return QStringLiteral("%1: column %2, row %3").arg(place.storage).arg(place.column + 1).arg(place.row + 1);
}

QStringList DetailLines(const Item &item)
{
    const CharacterItems::Shown shown = CharacterItems::ShownOf(item);
    QStringList lines{item.name};
    if (shown.quality) {
        lines << QStringLiteral("Quality: %1").arg(item.quality);
        lines << QStringLiteral("Level: %1").arg(item.level);
    }
    lines << QStringLiteral("Code: %1").arg(item.code);
    lines << QStringLiteral("Place: %1").arg(PlaceText(item));
    if (shown.quality) {
        lines << QStringLiteral("Identified: %1").arg(YesNo(item.identified));
        lines << QStringLiteral("Ethereal: %1").arg(YesNo(item.ethereal));
        lines << QStringLiteral("Personalized: %1").arg(YesNo(item.personalized));
        lines << QStringLiteral("Runeword: %1").arg(YesNo(item.runeword));
    }
    if (shown.defense)
        lines << QStringLiteral("Defense: %1").arg(item.defense);
    if (shown.durability)
        lines << QStringLiteral("Durability: %1 of %2").arg(item.durability).arg(item.maxDurability);
    if (shown.quantity)
        lines << QStringLiteral("Quantity: %1").arg(item.quantity);
    if (shown.sockets) {
        lines << QStringLiteral("Sockets: %1, %2 filled").arg(item.sockets).arg(int(item.children.size()));
        for (const Item &child : item.children) {
            lines << QStringLiteral("    %1").arg(child.name);
            for (const auto &p : child.properties)
                lines << QStringLiteral("        %1").arg(p.text);
        }
    }
    lines << (item.properties.empty() ? QStringLiteral("No properties") : QStringLiteral("Properties:"));
    for (const auto &p : item.properties)
        lines << QStringLiteral("    %1").arg(p.text);
    return lines;
}

} // namespace

CItemsDlg::CItemsDlg(const CDiablo2Doc *pDoc, CharacterItems::Items items, const QString &tablesNote,
                     QWidget *parent)
    : CDialog(ItemsDialogTemplate(), parent), m_pDoc(pDoc), m_items(std::move(items)), m_tablesNote(tablesNote)
{
    setObjectName(QStringLiteral("CItemsDlg"));
    for (const GridPlace &place : kGrids)
        ReplaceDlgItem(place.id, new ItemGrid, &ItemGrid::currentChanged);
    MapSelChange(IDC_ITEM_LISTS, &CItemsDlg::OnSelchangeItemLists);
    MapSelChange(IDC_EQUIPPED, &CItemsDlg::OnSelchangeEquipped);
    MapSelChange(IDC_INVENTORY, &CItemsDlg::OnSelchangeInventory);
    MapSelChange(IDC_BELT, &CItemsDlg::OnSelchangeBelt);
    MapSelChange(IDC_STASH, &CItemsDlg::OnSelchangeStash);
    MapSelChange(IDC_CUBE, &CItemsDlg::OnSelchangeCube);
    MapSelChange(IDC_OTHER_ITEMS, &CItemsDlg::OnSelchangeOtherItems);
    MapClicked(IDC_GAME_DATA_FOLDER, &CItemsDlg::OnGameDataFolder);
    MapClicked(IDC_BUILT_IN_TABLES, &CItemsDlg::OnBuiltInTables);
}

ItemGrid *CItemsDlg::Grid(int id) const
{
    return DlgItem<ItemGrid>(id);
}

bool CItemsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CharacterView character(*m_pDoc);
    m_nFileVersion = character.FileVersion();
    m_bExpansion = character.IsExpansion();

    // One cell size for every grid: the largest with which each fits its place.
    int cell = 1 << 16;
    for (const GridPlace &place : kGrids) {
        const QSize size = Grid(place.id)->size();
        cell = qMin(cell, qMin(size.width() / place.columns, size.height() / place.rows));
    }
    const QString tip = QStringLiteral(" The arrow keys move between its items; an item's tooltip shows its name and "
                                       "first properties, and the details beside show the rest.");
    for (const GridPlace &place : kGrids)
        Grid(place.id)->SetCellSize(cell);
    for (int k = 0; k < int(std::size(kGrids)); ++k)
        Explain(Grid(kGrids[k].id), QLatin1String(kGridExplanations[k][1]) + tip);
    Explain(GetDlgItem(IDC_OTHER_ITEMS), QStringLiteral("Items in none of the grids: held by the cursor, or in a "
                                                        "place the grids do not show."));
    Explain(GetDlgItem(IDC_GAME_DATA_FOLDER),
            QStringLiteral("Reads the items with a folder of the game's .txt tables (a mod's, or the game's own "
                           "data/global/excel) in place of the built-in ones, now and at the next start."));
    Explain(GetDlgItem(IDC_BUILT_IN_TABLES),
            QStringLiteral("Reads the items with the tables built into the program again, those of the file's "
                           "release."));
    ShowLists();
    return true;
}

void CItemsDlg::ShowLists()
{
    m_pages = {{QStringLiteral("Character"), QStringLiteral("character")},
               {QStringLiteral("Mercenary"), QStringLiteral("mercenary")},
               {QStringLiteral("Corpse"), QStringLiteral("corpse")}};
    const List *golem = FindList(m_items, QStringLiteral("golem"));
    if (golem && !golem->items.empty())
        m_pages.push_back({QStringLiteral("Golem"), QStringLiteral("golem")});
    auto *tabs = DlgItem<QTabBar>(IDC_ITEM_LISTS);
    {
        const QSignalBlocker blocker(tabs);
        while (tabs->count() > 0)
            tabs->removeTab(0);
        for (const Page &page : m_pages)
            tabs->addTab(page.title);
        tabs->setCurrentIndex(0);
    }
    ShowPage(0);
    ShowTables();
}

void CItemsDlg::ShowTables()
{
    const bool remembered = !GameDataFolder().isEmpty();
    QString text = remembered && m_tablesNote.isEmpty()
                       ? QStringLiteral("Game tables: the folder %1.").arg(QDir::toNativeSeparators(m_items.release))
                       : QStringLiteral("Game tables: built in, release %1.").arg(m_items.release);
    if (!m_tablesNote.isEmpty())
        text += QStringLiteral(" The game-data folder cannot be used: %1.").arg(m_tablesNote);
    DlgItem<QLabel>(IDC_ITEM_TABLES)->setText(text);
    GetDlgItem(IDC_BUILT_IN_TABLES)->setEnabled(remembered);
}

void CItemsDlg::ReadAgain()
{
    const std::shared_ptr<const Format::Items::ItemTables> tables = WindowItemsGameData().Tables(m_tablesNote);
    m_items = CharacterItems::ReadItems(m_pDoc->ImageCopy(), tables.get());
    ShowLists();
}

void CItemsDlg::OnGameDataFolder()
{
    const QString caption = QStringLiteral("Game Data Folder");
    const QString remembered = GameDataFolder();
    const bool there = !remembered.isEmpty() && QDir(remembered).exists();
    QFileDialog chooser(this, caption, there ? remembered : QDir::homePath());
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly, true);
    chooser.setOption(QFileDialog::DontUseNativeDialog, true);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString dir = chooser.selectedFiles().first();
    QString error;
    if (!WindowItemsGameData().Choose(dir, error)) {
        Prompts().MessageBox(this, QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(dir), error), caption,
                             MessageIcon::Exclamation);
        return;
    }
    ReadAgain();
}

void CItemsDlg::OnBuiltInTables()
{
    WindowItemsGameData().ChooseBuiltIn();
    ReadAgain();
}

void CItemsDlg::ShowPage(int tab)
{
    if (tab < 0 || tab >= int(m_pages.size()))
        return;
    const Page &page = m_pages[std::size_t(tab)];
    const List *list = FindList(m_items, page.list);
    QString note;
    if (!list) {
        note = !m_items.note.isEmpty() ? QStringLiteral("Not read: %1.").arg(m_items.note)
                                       : QStringLiteral("The file holds no list of the %1's items.").arg(page.list);
    } else if (!list->note.isEmpty() || list->decoded < list->count) {
        note = QStringLiteral("%1 of %2 items read: %3.").arg(list->decoded).arg(list->count).arg(list->note);
    } else {
        note = list->count == 1 ? QStringLiteral("1 item.") : QStringLiteral("%1 items.").arg(list->count);
    }
    // The bytes no list explains are told once, on the character's page.
    if (const QString trailing = CharacterItems::TrailingText(m_items); !trailing.isEmpty() && page.list == QLatin1String("character"))
        note += QLatin1Char(' ') + trailing + QLatin1Char('.');
    DlgItem<QLabel>(IDC_ITEMS_NOTE)->setText(note);
    static const List kNone;
    PlaceItems(list ? *list : kNone);  // the grids point into the list: never a copy
    ShowDetails(nullptr);
}

void CItemsDlg::PlaceItems(const List &list)
{
    const CharacterItems::Grids grids = CharacterItems::GridsOf(m_nFileVersion, m_bExpansion, list);
    const bool character = list.list == QLatin1String("character") || list.list == QLatin1String("corpse");
    ItemGrid *body = Grid(IDC_EQUIPPED);
    body->Reset(kBodyColumns, kBodyRows, false);
    bool switchWeapons = m_bExpansion;
    for (const Item &item : list.items)
        switchWeapons = switchWeapons || item.slot >= kSwitchRight;
    for (const BodySlot &slot : kBodySlots) {
        const bool mercenary = std::find(std::begin(kMercenarySlots), std::end(kMercenarySlots), slot.slot)
                               != std::end(kMercenarySlots);
        if ((character || mercenary) && (slot.slot < kSwitchRight || switchWeapons))
            body->AddSlot(slot.cells, QLatin1String(slot.label));
    }
    Grid(IDC_INVENTORY)->Reset(grids.inventory.columns, grids.inventory.rows, true);
    Grid(IDC_BELT)->Reset(grids.belt.columns, grids.belt.rows, true, true);
    Grid(IDC_STASH)->Reset(grids.stash.columns, grids.stash.rows, true);
    Grid(IDC_CUBE)->Reset(grids.cube.columns, grids.cube.rows, true);

    auto *others = DlgItem<QListWidget>(IDC_OTHER_ITEMS);
    const QSignalBlocker blocker(others);
    others->clear();
    m_otherItems.clear();
    for (const Item &item : list.items) {
        const CharacterItems::Place place = CharacterItems::PlaceOf(item);
        const QRect cells(place.column, place.row, qMax(1, item.width), qMax(1, item.height));
        bool placed = false;
        if (item.storage == QLatin1String("equipped")) {
            for (const BodySlot &slot : kBodySlots) {
                if (slot.slot == item.slot)
                    placed = body->AddItem(&item, slot.cells);
            }
        } else if (item.storage == QLatin1String("belt")) {
            placed = Grid(IDC_BELT)->AddItem(&item, QRect(place.column, place.row, 1, 1));
        } else if (item.storage == QLatin1String("inventory")) {
            placed = Grid(IDC_INVENTORY)->AddItem(&item, cells);
        } else if (item.storage == QLatin1String("stash")) {
            placed = Grid(IDC_STASH)->AddItem(&item, cells);
        } else if (item.storage == QLatin1String("cube")) {
            placed = Grid(IDC_CUBE)->AddItem(&item, cells);
        }
        if (!placed) {
            others->addItem(QStringLiteral("%1 (%2)").arg(item.name, PlaceText(item)));
            m_otherItems.push_back(&item);
        }
    }
    // Another list than the character's shows only the grids it fills.
    for (const GridPlace &place : kGrids) {
        const bool shown = character || place.id == IDC_EQUIPPED || Grid(place.id)->Count() > 0;
        Grid(place.id)->setVisible(shown);
        GetDlgItem(place.label)->setVisible(shown);
    }
}

void CItemsDlg::OnSelchangeItemLists()
{
    ShowPage(DlgItem<QTabBar>(IDC_ITEM_LISTS)->currentIndex());
}

void CItemsDlg::OnSelchangeEquipped()
{
    ChooseIn(IDC_EQUIPPED);
}

void CItemsDlg::OnSelchangeInventory()
{
    ChooseIn(IDC_INVENTORY);
}

void CItemsDlg::OnSelchangeBelt()
{
    ChooseIn(IDC_BELT);
}

void CItemsDlg::OnSelchangeStash()
{
    ChooseIn(IDC_STASH);
}

void CItemsDlg::OnSelchangeCube()
{
    ChooseIn(IDC_CUBE);
}

void CItemsDlg::OnSelchangeOtherItems()
{
    ChooseIn(IDC_OTHER_ITEMS);
}

void CItemsDlg::ChooseIn(int id)
{
    const Item *chosen = nullptr;
    for (const GridPlace &place : kGrids) {
        ItemGrid *grid = Grid(place.id);
        if (place.id == id)
            chosen = grid->ItemAt(grid->Current());
        else
            grid->SetCurrent(-1);
    }
    auto *others = DlgItem<QListWidget>(IDC_OTHER_ITEMS);
    if (id == IDC_OTHER_ITEMS) {
        const int row = others->currentRow();
        chosen = row >= 0 && row < int(m_otherItems.size()) ? m_otherItems[std::size_t(row)] : nullptr;
    } else {
        const QSignalBlocker blocker(others);
        others->setCurrentRow(-1);
    }
    ShowDetails(chosen);
}

void CItemsDlg::ShowDetails(const Item *item)
{
    auto *details = DlgItem<QListWidget>(IDC_ITEM_DETAILS);
    const QSignalBlocker blocker(details);
    details->clear();
    details->addItems(item ? DetailLines(*item) : QStringList{QStringLiteral("Choose an item to see its details.")});
    if (!item)
        return;
    // The name in the game's colour, darkened to stand on the list's light ground.
    QListWidgetItem *name = details->item(0);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    const QColor colour = ItemGrid::NameColour(*item);
    if (colour.saturation() > 40)
        name->setForeground(colour.darker(200));
}
