#pragma once

#include "document/CharacterItems.h"

#include <QAccessible>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

// Items drawn where they stand: a grid of cells (the inventory, the stash)
// or a set of slots (the body), each item a rectangle over its cells in the
// colour the game gives its name, with the name inside. The grid takes the
// focus; the arrow keys move the current item to the nearest one in that
// direction, Home and End to the first and the last in reading order. The current item wears
// a focus mark. For assistive technology the grid is a list with one item per
// rectangle, named by the name it shows; an item's tooltip shows its name and
// first properties.
class ItemGrid : public QWidget
{
    Q_OBJECT

public:
    explicit ItemGrid(QWidget *parent = nullptr);
    ~ItemGrid() override;

    // Empties the grid and gives it columns by rows cells; cells draws them
    // (a grid of cells), otherwise only the slots added are drawn. bottomUp
    // puts row 0 at the bottom, as the belt stands.
    void Reset(int columns, int rows, bool cells, bool bottomUp = false);
    // The side of a cell in pixels; the grid is drawn from the top left.
    void SetCellSize(int pixels);
    // An empty place with its label (a body slot), in cells.
    void AddSlot(const QRect &cells, const QString &label);
    // An item over cells; false (and not added) when they leave the grid or
    // meet an item added before. The item must outlive the grid's contents.
    bool AddItem(const CharacterItems::Item *item, const QRect &cells);

    [[nodiscard]] int Count() const { return int(m_entries.size()); }
    [[nodiscard]] const CharacterItems::Item *ItemAt(int index) const;
    // The rectangle of an item in pixels, and its cells.
    [[nodiscard]] QRect ItemRect(int index) const;
    [[nodiscard]] QRect ItemCells(int index) const { return m_entries.at(std::size_t(index)).cells; }
    [[nodiscard]] QRect GridRect() const;
    // The name an item shows, and its tooltip.
    [[nodiscard]] QString ItemName(int index) const;
    [[nodiscard]] QString ItemTip(int index) const;

    // The current item, or -1; SetCurrent(-1) leaves none. A change the user
    // makes (a click, a key) emits currentChanged; SetCurrent does not.
    [[nodiscard]] int Current() const { return m_nCurrent; }
    void SetCurrent(int index);

    // The colour of an item's name in the game: white, grey for an ethereal
    // or socketed plain item, blue magic, yellow rare, green set, gold unique
    // and runeword, orange crafted and runes, a dull red for low quality.
    [[nodiscard]] static QColor NameColour(const CharacterItems::Item &item);

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Entry
    {
        const CharacterItems::Item *item;
        QRect cells;
    };
    struct Slot
    {
        QRect cells;
        QString label;
    };

    [[nodiscard]] QRect PixelRect(const QRect &cells) const;
    [[nodiscard]] int IndexAt(const QPoint &pos) const;
    // The first item in reading order (top row first, each row from the
    // left), or the last; -1 when there is none.
    [[nodiscard]] int Corner(bool last) const;
    // The item nearest the current one in the direction of an arrow key.
    [[nodiscard]] int Neighbour(int key) const;
    // Makes index current as the user's choice.
    void Choose(int index);
    void DropAccessibleItems();

    int m_nColumns = 0;
    int m_nRows = 0;
    bool m_bCells = true;
    bool m_bBottomUp = false;
    int m_nCell = 24;
    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
    int m_nCurrent = -1;
    // The interfaces of the items given to assistive technology, made as asked.
    mutable std::vector<QAccessible::Id> m_accessibleItems;

    friend class ItemGridAccessible;
};
