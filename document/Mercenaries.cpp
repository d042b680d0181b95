#include "Mercenaries.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <vector>

namespace Mercenaries {

namespace {

struct HirelingRow
{
    int id;
    bool expansion;
    int act;
    int difficulty;
    int firstLevel;
    int rate;
    const char *hireling;
    const char *kind;
    int firstName;
    int nameCount;
};

#include "MercenaryTable.inc"

constexpr quint32 kFirstRemasteredVersion = 97;

std::span<const HirelingRow> TableOf(quint32 fileVersion)
{
    if (fileVersion >= kFirstRemasteredVersion)
        return kRemasteredHirelings;
    return kClassicHirelings;
}

// The type's rows of the character's edition, in ascending brackets; those of
// the other edition when the type has none in it.
std::vector<const HirelingRow *> RowsOf(quint32 fileVersion, bool expansion, quint32 type)
{
    std::vector<const HirelingRow *> rows[2];
    for (const HirelingRow &row : TableOf(fileVersion)) {
        if (quint32(row.id) == type)
            rows[row.expansion == expansion].push_back(&row);
    }
    return rows[1].empty() ? rows[0] : rows[1];
}

quint64 ExperienceOfLevel(const std::vector<const HirelingRow *> &rows, int level)
{
    const HirelingRow *bracket = rows.front();
    for (const HirelingRow *row : rows) {
        if (row->firstLevel <= level)
            bracket = row;
    }
    return quint64(bracket->rate) * quint64(level) * quint64(level) * quint64(level + 1);
}

} // namespace

Type TypeOf(quint32 fileVersion, bool expansion, quint32 type)
{
    const std::vector<const HirelingRow *> rows = RowsOf(fileVersion, expansion, type);
    if (rows.empty())
        return {};
    const HirelingRow &row = *rows.front();
    return {QString::fromUtf8(row.hireling), QString::fromUtf8(row.kind), row.act, row.difficulty, row.nameCount};
}

QString TypeName(quint32 fileVersion, bool expansion, quint32 type)
{
    const Type t = TypeOf(fileVersion, expansion, type);
    if (t.act == 0)
        return {};
    return QStringLiteral("%1 (%2)").arg(t.hireling, t.kind);
}

QString Name(quint32 fileVersion, bool expansion, quint32 type, quint32 index)
{
    const std::vector<const HirelingRow *> rows = RowsOf(fileVersion, expansion, type);
    if (rows.empty() || index >= quint32(rows.front()->nameCount))
        return {};
    return QString::fromUtf8(kMercenaryNames[rows.front()->firstName + int(index)]);
}

int LevelOf(quint32 fileVersion, bool expansion, quint32 type, quint32 experience)
{
    const std::vector<const HirelingRow *> rows = RowsOf(fileVersion, expansion, type);
    if (rows.empty())
        return 0;
    int level = 1;
    while (level < LevelCap && ExperienceOfLevel(rows, level + 1) <= experience)
        ++level;
    return level;
}

quint32 ExperienceLimit(quint32 fileVersion, bool expansion, quint32 type)
{
    const std::vector<const HirelingRow *> rows = RowsOf(fileVersion, expansion, type);
    if (rows.empty())
        return 0xFFFFFFFFu;
    return quint32(std::min<quint64>(ExperienceOfLevel(rows, LevelCap), 0xFFFFFFFFu));
}

} // namespace Mercenaries
