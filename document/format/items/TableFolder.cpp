// The item tables read from a folder of the game's own tab-separated tables
// (data/global/excel, as the game and mods keep them) in place of a release's
// built-in ones, numbered by the rules scripts/gamedata/generate.py applies.
#include "ItemTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <initializer_list>

namespace Format::Items {

namespace {

// A runeword's number in a save counts the rows of its table from 27 on.
constexpr int kRunewordBase = 27;

// One table: its heading's columns and its rows after it, each split at its tabs.
struct TextTable
{
    QString file;  // its name as the folder spells it
    QStringList heading;
    QList<QStringList> rows;
};

class FolderReader
{
public:
    explicit FolderReader(const QString &dir) : m_dir(dir)
    {
        m_files = QDir(dir).entryList(QDir::Files | QDir::Readable | QDir::Hidden);
    }

    QString error;

    // False, with why, when the folder has no such table (its name in any case).
    bool Load(const char *name, TextTable &table)
    {
        for (const QString &file : std::as_const(m_files)) {
            if (file.compare(QLatin1String(name), Qt::CaseInsensitive) != 0)
                continue;
            QFile in(QDir(m_dir).filePath(file));
            if (!in.open(QIODevice::ReadOnly)) {
                error = QStringLiteral("%1 cannot be read: %2").arg(file, in.errorString());
                return false;
            }
            table.file = file;
            QStringList lines = Decoded(in.readAll()).split(QLatin1Char('\n'));
            // A last line end leaves empty lines after the last row.
            while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
                lines.removeLast();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QString &line = lines[i];
                if (line.endsWith(QLatin1Char('\r')))
                    line.chop(1);
                if (i == 0)
                    table.heading = line.split(QLatin1Char('\t'));
                else
                    table.rows.append(line.split(QLatin1Char('\t')));
            }
            return true;
        }
        error = QStringLiteral("the folder has no %1").arg(QLatin1String(name));
        return false;
    }

    // The first of the names (alternatives: a classic and a remastered
    // spelling) the heading has, in any case; -1 when none. A needed column
    // that is missing is an error naming the table and the column.
    int Column(const TextTable &table, std::initializer_list<const char *> names, bool needed = true)
    {
        for (const char *name : names)
            for (qsizetype c = 0; c < table.heading.size(); ++c)
                if (table.heading[c].trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    return int(c);
        if (needed && error.isEmpty())
            error = QStringLiteral("%1 has no column \"%2\"").arg(table.file, QLatin1String(*names.begin()));
        return -1;
    }

private:
    // The classic tables are in the Windows code page, later ones may be UTF-8.
    static QString Decoded(const QByteArray &bytes)
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(bytes);
        return utf8.hasError() ? QString::fromLatin1(bytes) : text;
    }

    QString m_dir;
    QStringList m_files;
};

QString Cell(const QStringList &row, int column)
{
    return column >= 0 && column < row.size() ? row[column].trimmed() : QString();
}

int Number(const QStringList &row, int column)
{
    return Cell(row, column).toInt();
}

// The number a save file holds for each row: the row's own id where the table
// has a column for it (the remastered tables' "*ID"); else its place among the
// rows, from first, every row counted (blank ones and headings too) but the
// "Expansion" separator where the game skips it (the unique and set items).
// The JSON conversions the generator reads key their rows by line and so count
// that separator; a folder's rows are the file's own, counted here. -1 for the
// separator.
QList<int> RowNumbers(const TextTable &table, int idColumn, int first, bool skipsSeparator)
{
    QList<int> numbers;
    int next = first;
    for (const QStringList &row : table.rows) {
        if (skipsSeparator && Cell(row, 0).compare(QLatin1String("Expansion"), Qt::CaseInsensitive) == 0) {
            numbers.append(-1);
            continue;
        }
        numbers.append(idColumn >= 0 ? Number(row, idColumn) : next);
        ++next;
    }
    return numbers;
}

} // namespace

std::shared_ptr<const ItemTables> ItemTables::FromFolder(const QString &dir, QString *error)
{
    FolderReader folder(dir);
    std::shared_ptr<ItemTables> t(new ItemTables());
    t->m_name = QDir::cleanPath(dir);
    const auto fail = [&] {
        if (error)
            *error = folder.error;
        return nullptr;
    };
    if (!QFileInfo(dir).isDir()) {
        folder.error = QStringLiteral("no such folder");
        return fail();
    }

    TextTable table;
    const auto load = [&](const char *name) {
        table = TextTable();
        return folder.Load(name, table);
    };

    static const struct
    {
        const char *file;
        ItemKind kind;
        bool stackable;  // whether the table must say which of its items stack
    } kItemTables[] = {{"Armor.txt", ItemKind::Armor, false},
                       {"Weapons.txt", ItemKind::Weapon, true},
                       {"Misc.txt", ItemKind::Misc, true}};
    for (const auto &items : kItemTables) {
        if (!load(items.file))
            return fail();
        const int name = folder.Column(table, {"name"}), code = folder.Column(table, {"code"});
        const int width = folder.Column(table, {"invwidth"}), height = folder.Column(table, {"invheight"});
        const int type = folder.Column(table, {"type"});
        const int stackable = folder.Column(table, {"stackable"}, items.stackable);
        const int quest = folder.Column(table, {"questdiffcheck"}, false);
        if (!folder.error.isEmpty())
            return fail();
        for (const QStringList &row : std::as_const(table.rows)) {
            const QString c = Cell(row, code);
            if (c.isEmpty() || c == QLatin1String("xxx"))
                continue;
            t->m_items.insert(c.toLatin1(), ItemType{items.kind, Number(row, width), Number(row, height),
                                                    Number(row, stackable) != 0, Number(row, quest) != 0,
                                                    Cell(row, type).toLatin1(),
                                                    Cell(row, name)});
        }
    }

    // The description columns hold keys of the game's string tables, not
    // wordings: they are left out, and such a property shows by its stat.
    if (!load("ItemStatCost.txt"))
        return fail();
    {
        const int stat = folder.Column(table, {"Stat"}), id = folder.Column(table, {"ID", "*ID"});
        const int bits = folder.Column(table, {"Save Bits"}), add = folder.Column(table, {"Save Add"});
        const int paramBits = folder.Column(table, {"Save Param Bits"});
        const int bits109 = folder.Column(table, {"1.09-Save Bits"}, false);
        const int add109 = folder.Column(table, {"1.09-Save Add"}, false);
        const int encode = folder.Column(table, {"Encode"}), descFunc = folder.Column(table, {"descfunc"});
        const int descVal = folder.Column(table, {"descval"});
        if (!folder.error.isEmpty())
            return fail();
        for (const QStringList &row : std::as_const(table.rows)) {
            if (Cell(row, stat).isEmpty())
                continue;
            // A value is read 32 bits at the most: a wider one is no table of the game's.
            for (const auto &[column, title] : {std::pair{bits, "Save Bits"}, std::pair{paramBits, "Save Param Bits"},
                                                std::pair{bits109, "1.09-Save Bits"}}) {
                const int width = Number(row, column);
                if (width < 0 || width > 32) {
                    folder.error = QStringLiteral("%1: the stat %2 has a \"%3\" of %4, not 0 to 32")
                                       .arg(table.file, Cell(row, stat), QLatin1String(title))
                                       .arg(width);
                    return fail();
                }
            }
            t->m_stats.insert(Number(row, id),
                              StatRow{Cell(row, stat).toLatin1(), Number(row, bits), Number(row, add),
                                      Number(row, paramBits), Number(row, bits109), Number(row, add109),
                                      Number(row, encode), Number(row, descFunc), Number(row, descVal), {}, {}, {}});
        }
    }

    // The names a save file refers to by number, from each table's name column.
    // need: a column a named row must fill (-1: none).
    const auto names = [&](NameKind kind, std::initializer_list<const char *> nameColumn, int idColumn, int first,
                           bool skipsSeparator, int need = -1) {
        const int name = folder.Column(table, nameColumn);
        if (!folder.error.isEmpty())
            return false;
        const QList<int> numbers = RowNumbers(table, idColumn, first, skipsSeparator);
        for (qsizetype r = 0; r < table.rows.size(); ++r) {
            const QString text = Cell(table.rows[r], name);
            // A unique item's heading rows have no code, a set's no item: they count, unnamed.
            if (numbers[r] >= 0 && !text.isEmpty() && (need < 0 || !Cell(table.rows[r], need).isEmpty()))
                t->AddName(kind, numbers[r], text);
        }
        return true;
    };
    if (!load("UniqueItems.txt") ||
        !names(NameKind::Unique, {"index"}, folder.Column(table, {"*ID"}, false), 0, true, folder.Column(table, {"code"})))
        return fail();
    if (!load("SetItems.txt") ||
        !names(NameKind::Set, {"index"}, folder.Column(table, {"*ID"}, false), 0, true, folder.Column(table, {"item"})))
        return fail();
    if (!load("Runes.txt") || !names(NameKind::Runeword, {"Rune Name", "*Rune Name"}, -1, kRunewordBase, false))
        return fail();
    if (!load("MagicPrefix.txt") || !names(NameKind::Prefix, {"Name"}, -1, 0, false))
        return fail();
    if (!load("MagicSuffix.txt") || !names(NameKind::Suffix, {"Name"}, -1, 0, false))
        return fail();
    // Rare names are one list counted from 1: the suffixes, then the prefixes.
    if (!load("RareSuffix.txt") || !names(NameKind::RareName, {"name"}, -1, 1, false))
        return fail();
    const int prefixesFrom = 1 + int(table.rows.size());
    if (!load("RarePrefix.txt") || !names(NameKind::RareName, {"name"}, -1, prefixesFrom, false))
        return fail();
    if (!load("Skills.txt") || !names(NameKind::Skill, {"skill"}, folder.Column(table, {"Id", "*Id"}), 0, false))
        return fail();
    return t;
}

} // namespace Format::Items
