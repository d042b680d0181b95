// The items of one grid or of the body slots, drawn as rectangles in the
// colours of the game's names, with the keys, the tooltips and the accessible
// interface that reach each of them.

#include "ItemGrid.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include <algorithm>

using CharacterItems::Item;

namespace {

const QColor kCellFill(28, 28, 34);
const QColor kCellLine(64, 64, 76);
const QColor kSlotLine(96, 96, 112);
const QColor kSlotText(150, 150, 162);
constexpr int kTipProperties = 4;

QColor Mix(const QColor &a, const QColor &b, qreal share)
{
    return QColor::fromRgbF(float(a.redF() * share + b.redF() * (1 - share)),
                            float(a.greenF() * share + b.greenF() * (1 - share)),
                            float(a.blueF() * share + b.blueF() * (1 - share)));
}

bool IsRune(const QString &code)
{
    return code.size() == 3 && code[0] == QLatin1Char('r') && code[1].isDigit() && code[2].isDigit();
}

// The words of text in lines no wider than width, as many as fit in height;
// the last line shown ends with an ellipsis when words are left over.
QStringList FitLines(const QString &text, const QFontMetrics &metrics, int width, int height)
{
    const int most = qMax(1, height / metrics.lineSpacing());
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList lines;
    int k = 0;
    while (k < int(words.size()) && int(lines.size()) < most) {
        QString line = words[k++];
        while (k < int(words.size())
               && metrics.horizontalAdvance(line + QLatin1Char(' ') + words[k]) <= width)
            line += QLatin1Char(' ') + words[k++];
        if (int(lines.size()) == most - 1 && k < int(words.size()))
            line = metrics.elidedText(line + QLatin1Char(' ') + words.mid(k).join(QLatin1Char(' ')), Qt::ElideRight, width);
        else if (metrics.horizontalAdvance(line) > width)
            line = metrics.elidedText(line, Qt::ElideRight, width);
        lines.append(line);
    }
    return lines;
}

void DrawLines(QPainter &painter, const QRect &box, const QString &text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QStringList lines = FitLines(text, metrics, box.width(), box.height());
    int y = box.top() + (box.height() - int(lines.size()) * metrics.lineSpacing()) / 2;
    for (const QString &line : lines) {
        painter.drawText(QRect(box.left(), y, box.width(), metrics.lineSpacing()), Qt::AlignCenter, line);
        y += metrics.lineSpacing();
    }
}

} // namespace

// One item of a grid for assistive technology: a list item named by the name
// the grid shows, at its rectangle on the screen.
class ItemAccessible : public QAccessibleInterface
{
public:
    ItemAccessible(ItemGrid *grid, int index) : m_grid(grid), m_nIndex(index) {}

    bool isValid() const override { return m_grid && m_nIndex < m_grid->Count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_grid->ItemName(m_nIndex);
        if (t == QAccessible::Description)
            return m_grid->ItemTip(m_nIndex);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_grid->ItemRect(m_nIndex);
        return QRect(m_grid->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        if (isValid() && m_grid->Current() == m_nIndex) {
            s.selected = true;
            s.focused = m_grid->hasFocus();
        }
        return s;
    }

private:
    QPointer<ItemGrid> m_grid;
    int m_nIndex;
};

// The grid for assistive technology: a list whose children are its items.
class ItemGridAccessible : public QAccessibleWidget
{
public:
    explicit ItemGridAccessible(ItemGrid *grid) : QAccessibleWidget(grid, QAccessible::List) {}

    int childCount() const override { return Grid()->Count(); }
    QAccessibleInterface *child(int index) const override
    {
        ItemGrid *grid = Grid();
        if (index < 0 || index >= grid->Count())
            return nullptr;
        auto &ids = grid->m_accessibleItems;
        if (ids.size() < std::size_t(grid->Count()))
            ids.resize(std::size_t(grid->Count()), 0);
        QAccessible::Id &id = ids[std::size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new ItemAccessible(grid, index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int k = 0; k < childCount(); ++k) {
            if (this->child(k) == child)
                return k;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int k = 0; k < childCount(); ++k) {
            if (child(k)->rect().contains(x, y))
                return child(k);
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return Grid()->hasFocus() && Grid()->Current() >= 0 ? child(Grid()->Current()) : nullptr;
    }

private:
    ItemGrid *Grid() const { return static_cast<ItemGrid *>(widget()); }
};

namespace {

QAccessibleInterface *GridInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("ItemGrid") && object && object->isWidgetType())
        return new ItemGridAccessible(static_cast<ItemGrid *>(object));
    return nullptr;
}

} // namespace

ItemGrid::ItemGrid(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(GridInterface);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
}

ItemGrid::~ItemGrid()
{
    DropAccessibleItems();
}

void ItemGrid::DropAccessibleItems()
{
    for (const QAccessible::Id id : m_accessibleItems) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
    m_accessibleItems.clear();
}

void ItemGrid::Reset(int columns, int rows, bool cells, bool bottomUp)
{
    if (!m_entries.empty() && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
    DropAccessibleItems();
    m_nColumns = columns;
    m_nRows = rows;
    m_bCells = cells;
    m_bBottomUp = bottomUp;
    m_slots.clear();
    m_entries.clear();
    m_nCurrent = -1;
    update();
}

void ItemGrid::SetCellSize(int pixels)
{
    m_nCell = qMax(8, pixels);
    update();
}

void ItemGrid::AddSlot(const QRect &cells, const QString &label)
{
    m_slots.push_back({cells, label});
}

bool ItemGrid::AddItem(const Item *item, const QRect &cells)
{
    if (!QRect(0, 0, m_nColumns, m_nRows).contains(cells))
        return false;
    for (const Entry &entry : m_entries) {
        if (entry.cells.intersects(cells))
            return false;
    }
    m_entries.push_back({item, cells});
    update();
    return true;
}

const Item *ItemGrid::ItemAt(int index) const
{
    return index >= 0 && index < Count() ? m_entries[std::size_t(index)].item : nullptr;
}

QRect ItemGrid::PixelRect(const QRect &cells) const
{
    const int top = m_bBottomUp ? m_nRows - cells.top() - cells.height() : cells.top();
    return QRect(cells.left() * m_nCell, top * m_nCell, cells.width() * m_nCell, cells.height() * m_nCell);
}

QRect ItemGrid::ItemRect(int index) const
{
    return PixelRect(m_entries.at(std::size_t(index)).cells);
}

QRect ItemGrid::GridRect() const
{
    return QRect(0, 0, m_nColumns * m_nCell, m_nRows * m_nCell);
}

QString ItemGrid::ItemName(int index) const
{
    const Item *item = ItemAt(index);
    return item ? item->name : QString();
}

QString ItemGrid::ItemTip(int index) const
{
    const Item *item = ItemAt(index);
    if (!item)
        return {};
    QStringList lines{item->name};
    const int shown = qMin(int(item->properties.size()), kTipProperties);
    for (int k = 0; k < shown; ++k)
        lines << item->properties[std::size_t(k)].text;
    if (int(item->properties.size()) > shown)
        lines << QStringLiteral("... (%1 more in the details)").arg(int(item->properties.size()) - shown);
    return lines.join(QLatin1Char('\n'));
}

QColor ItemGrid::NameColour(const Item &item)
{
    const QString &q = item.quality;
    if (item.runeword || q == QLatin1String("unique"))
        return QColor(199, 179, 119);
    if (q == QLatin1String("set"))
        return QColor(40, 220, 40);
    if (q == QLatin1String("rare"))
        return QColor(255, 255, 100);
    if (q == QLatin1String("magic"))
        return QColor(125, 125, 255);
    if (q == QLatin1String("crafted") || IsRune(item.code))
        return QColor(255, 168, 0);
    if (q == QLatin1String("low"))
        return QColor(205, 92, 80);
    if (item.ethereal || item.socketed)
        return QColor(160, 160, 160);
    return QColor(240, 240, 240);
}

void ItemGrid::SetCurrent(int index)
{
    m_nCurrent = index >= 0 && index < Count() ? index : -1;
    update();
}

void ItemGrid::Choose(int index)
{
    if (index < 0 || index >= Count())
        return;
    const bool changed = index != m_nCurrent;
    SetCurrent(index);
    if (QAccessible::isActive() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
    if (changed)
        Q_EMIT currentChanged(index);
}

int ItemGrid::IndexAt(const QPoint &pos) const
{
    for (int k = 0; k < Count(); ++k) {
        if (ItemRect(k).contains(pos))
            return k;
    }
    return -1;
}

int ItemGrid::Corner(bool last) const
{
    // In reading order: by the top edge as drawn, then by the left edge.
    int best = -1;
    for (int k = 0; k < Count(); ++k) {
        const QRect r = ItemRect(k);
        const QRect b = best >= 0 ? ItemRect(best) : QRect();
        const bool before = r.top() < b.top() || (r.top() == b.top() && r.left() < b.left());
        if (best < 0 || before != last)
            best = k;
    }
    return best;
}

int ItemGrid::Neighbour(int key) const
{
    if (m_nCurrent < 0)
        return Corner(false);
    const QPointF from = QRectF(ItemRect(m_nCurrent)).center();
    int best = -1;
    qreal bestScore = 0;
    for (int k = 0; k < Count(); ++k) {
        const QPointF d = QRectF(ItemRect(k)).center() - from;
        qreal along = 0, across = 0;
        switch (key) {
        case Qt::Key_Right: along = d.x(); across = d.y(); break;
        case Qt::Key_Left: along = -d.x(); across = d.y(); break;
        case Qt::Key_Down: along = d.y(); across = d.x(); break;
        case Qt::Key_Up: along = -d.y(); across = d.x(); break;
        default: return -1;
        }
        if (k == m_nCurrent || along <= 0)
            continue;
        const qreal score = along + 2 * qAbs(across);
        if (best < 0 || score < bestScore) {
            best = k;
            bestScore = score;
        }
    }
    return best;
}

void ItemGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        Choose(Neighbour(event->key()));
        event->accept();
        return;
    case Qt::Key_Home:
        Choose(Corner(false));
        event->accept();
        return;
    case Qt::Key_End:
        Choose(Corner(true));
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ItemGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    Choose(IndexAt(event->position().toPoint()));
}

void ItemGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // Coming to the grid by the keyboard chooses an item at once, so that its
    // details show and a screen reader names it.
    if (event->reason() != Qt::MouseFocusReason)
        Choose(m_nCurrent >= 0 ? m_nCurrent : Corner(false));
    update();
}

void ItemGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

bool ItemGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = IndexAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), ItemTip(index), this, ItemRect(index));
            return true;
        }
    }
    return QWidget::event(event);
}

void ItemGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_bCells) {
        painter.fillRect(GridRect(), kCellFill);
        painter.setPen(kCellLine);
        for (int x = 0; x <= m_nColumns; ++x)
            painter.drawLine(x * m_nCell, 0, x * m_nCell, m_nRows * m_nCell);
        for (int y = 0; y <= m_nRows; ++y)
            painter.drawLine(0, y * m_nCell, m_nColumns * m_nCell, y * m_nCell);
    }
    for (const Slot &slot : m_slots) {
        const QRect r = PixelRect(slot.cells).adjusted(1, 1, -2, -2);
        painter.fillRect(r, kCellFill);
        painter.setPen(kSlotLine);
        painter.drawRect(r);
        painter.setPen(kSlotText);
        DrawLines(painter, r.adjusted(2, 2, -2, -2), slot.label);
    }
    for (int k = 0; k < Count(); ++k) {
        const Item &item = *m_entries[std::size_t(k)].item;
        const QColor colour = NameColour(item);
        const bool current = k == m_nCurrent;
        const QRect r = ItemRect(k).adjusted(2, 2, -2, -2);
        painter.fillRect(r, Mix(colour, kCellFill, current ? 0.42 : 0.2));
        painter.setPen(QPen(current ? QColor(Qt::white) : colour, current ? 2 : 1));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(current ? QColor(Qt::white) : colour);
        DrawLines(painter, r.adjusted(3, 2, -3, -2), item.name);
        if (current && hasFocus()) {
            painter.setPen(QPen(QColor(255, 230, 90), 1, Qt::DashLine));
            painter.drawRect(r.adjusted(2, 2, -3, -3));
        }
    }
    if (hasFocus() && Count() == 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
