#pragma once

#include <QString>

#include <memory>

namespace Format::Items {
class ItemTables;
}

// The game's tables the window reads items with: the ones built into the
// program for each file's release, or those of a folder of the game's .txt
// tables (a mod's, a newer patch's) chosen in the Items dialog and kept in the
// user's settings for the next start. A folder's tables are read once and
// held until another folder is chosen.
class ItemsGameData
{
public:
    // The remembered folder's tables, read when they are not the ones held,
    // or null for the built-in ones. A remembered folder that cannot be read
    // (gone, or refused) leaves the built-in ones in use and stays remembered,
    // for a drive that comes back; note then names it and says why, and is
    // empty otherwise.
    [[nodiscard]] std::shared_ptr<const Format::Items::ItemTables> Tables(QString &note);

    // Reads the tables of dir and remembers it. A folder that is refused
    // changes nothing, neither the tables nor the folder remembered: false,
    // with the reason in error.
    bool Choose(const QString &dir, QString &error);

    // The built-in tables from now on, also at the next start.
    void ChooseBuiltIn();

private:
    QString m_folder;  // the one m_tables were read from
    std::shared_ptr<const Format::Items::ItemTables> m_tables;
};

// The one of the program, which every Items dialog reads with.
ItemsGameData &WindowItemsGameData();
