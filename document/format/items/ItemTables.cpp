#include "ItemTables.h"

#include <QFile>
#include <QList>

// The tables are a resource of this static library: registered before the
// first is read, since nothing else would pull them into the program.
static void RegisterTables()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(gamedata);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Format::Items {

namespace {

const char *FolderOf(Release release)
{
    switch (release) {
    case Release::Classic114d: return "1.14d";
    case Release::Remastered24: return "2.4";
    case Release::Remastered26: return "2.6";
    case Release::Remastered3: return "3.x";
    }
    return "";
}

// The rows of a table after its heading line, each split at its tabs. A
// resource is built into the program, so a missing one is a build fault: the
// tables are then empty and every item reads as unknown.
QList<QList<QByteArray>> Rows(Release release, const char *table)
{
    RegisterTables();
    QFile file(QStringLiteral(":/gamedata/%1/%2").arg(QLatin1String(FolderOf(release)), QLatin1String(table)));
    QList<QList<QByteArray>> rows;
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            rows.append(lines[i].split('\t'));
    return rows;
}

int Number(const QList<QByteArray> &row, qsizetype column)
{
    return column < row.size() ? row[column].toInt() : 0;
}

QString Text(const QList<QByteArray> &row, qsizetype column)
{
    return column < row.size() ? QString::fromUtf8(row[column]) : QString();
}

quint32 NameKey(NameKind kind, int id)
{
    return quint32(kind) << 16 | quint32(id & 0xFFFF);
}

} // namespace

ItemTables::ItemTables(Release release) : m_name(NameOf(release))
{
    for (const auto &row : Rows(release, "items.tsv")) {
        if (row.size() < 9)
            continue;
        ItemType t;
        t.kind = row[1] == "armor" ? ItemKind::Armor : row[1] == "weapon" ? ItemKind::Weapon : ItemKind::Misc;
        t.width = Number(row, 2);
        t.height = Number(row, 3);
        t.stackable = Number(row, 4) != 0;
        t.questDifficulty = Number(row, 5) != 0;
        t.type = row[7];
        t.name = Text(row, 8);
        m_items.insert(row[0], t);
    }
    for (const auto &row : Rows(release, "stats.tsv")) {
        if (row.size() < 13)
            continue;
        StatRow s{row[1], Number(row, 2), Number(row, 3), Number(row, 4), Number(row, 5), Number(row, 6),
                  Number(row, 7), Number(row, 8), Number(row, 9), Text(row, 10), Text(row, 11), Text(row, 12)};
        m_stats.insert(Number(row, 0), s);
    }
    static const QByteArray kinds[] = {"unique", "set", "runeword", "prefix", "suffix", "rarename", "skill"};
    for (const auto &row : Rows(release, "names.tsv")) {
        if (row.size() < 3)
            continue;
        for (int k = 0; k < int(std::size(kinds)); ++k)
            if (row[0] == kinds[k])
                AddName(NameKind(k), Number(row, 1), Text(row, 2));
    }
}

void ItemTables::AddName(NameKind kind, int id, const QString &name)
{
    m_names.insert(NameKey(kind, id), name);
}

const ItemTables &ItemTables::Of(Release release)
{
    // Each release's tables are read the first time they are asked for.
    switch (release) {
    case Release::Classic114d: { static const ItemTables t(Release::Classic114d); return t; }
    case Release::Remastered24: { static const ItemTables t(Release::Remastered24); return t; }
    case Release::Remastered26: { static const ItemTables t(Release::Remastered26); return t; }
    case Release::Remastered3: break;
    }
    static const ItemTables t(Release::Remastered3);
    return t;
}

QString ItemTables::NameOf(Release release)
{
    return QLatin1String(FolderOf(release));
}

const ItemType *ItemTables::Item(QByteArrayView code) const
{
    const auto it = m_items.constFind(code.toByteArray());
    return it == m_items.cend() ? nullptr : &*it;
}

const StatRow *ItemTables::Stat(int id) const
{
    const auto it = m_stats.constFind(id);
    return it == m_stats.cend() ? nullptr : &*it;
}

QString ItemTables::Name(NameKind kind, int id) const
{
    return m_names.value(NameKey(kind, id));
}

} // namespace Format::Items
