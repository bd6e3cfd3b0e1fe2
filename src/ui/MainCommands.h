#pragma once
#include <QString>
#include <vector>

// The main window's command bar: every command with its key, caption, image and
// tool tip, and the five menus that hold them, in the order they are created.

enum class CommandStyle { Menu, Normal, Separator, Check };

struct CommandDef {
    const char* key;
    QString caption;
    const char* image;   // "" for none
    CommandStyle style;
    QString toolTip;
};

const std::vector<CommandDef>& MainCommandTable();

struct MenuDef {
    const char* key;
    std::vector<const char*> items;  // command keys; "MENUITEM_SEPARATOR" for a line
};

const std::vector<MenuDef>& MainMenuTable();

// The command of a key; null for keys the table does not hold.
const CommandDef* FindCommand(const QString& key);

namespace cmd {
inline constexpr const char* Separator = "MENUITEM_SEPARATOR";
}
