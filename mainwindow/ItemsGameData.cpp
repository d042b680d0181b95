#include "ItemsGameData.h"

#include "document/format/items/ItemTables.h"
#include "widgets/QtPrompts.h"

#include <QDir>

using Format::Items::ItemTables;

std::shared_ptr<const ItemTables> ItemsGameData::Tables(QString &note)
{
    note.clear();
    const QString folder = GameDataFolder();
    if (folder.isEmpty())
        return nullptr;
    if (!m_tables || folder != m_folder) {
        QString error;
        std::shared_ptr<const ItemTables> tables = ItemTables::FromFolder(folder, &error);
        if (!tables) {
            note = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), error);
            return nullptr;
        }
        m_folder = folder;
        m_tables = std::move(tables);
    }
    return m_tables;
}

bool ItemsGameData::Choose(const QString &dir, QString &error)
{
    std::shared_ptr<const ItemTables> tables = ItemTables::FromFolder(dir, &error);
    if (!tables)
        return false;
    m_folder = dir;
    m_tables = std::move(tables);
    RememberGameDataFolder(dir);
    return true;
}

void ItemsGameData::ChooseBuiltIn()
{
    RememberGameDataFolder(QString());
}

ItemsGameData &WindowItemsGameData()
{
    static ItemsGameData gameData;
    return gameData;
}
