#include "ui/MainCommands.h"

namespace {

const QString ApplicationObjects =
    QStringLiteral("Cet opération concerne des objets d'application et de communication");

}  // namespace

const std::vector<CommandDef>& MainCommandTable()
{
    using S = CommandStyle;
    static const std::vector<CommandDef> table{
        {"MENU_FILE", QStringLiteral("&Fichier"), "IMG_SAVE", S::Menu, {}},
        {"MENU_INTERFACE", QStringLiteral("&Interface"), "IMG_CONNECT", S::Menu, {}},
        {"MENU_DEVICE", QStringLiteral("&Appareil"), "IMG_DEVICE", S::Menu, {}},
        {"MENU_DIAGNOSIS", QStringLiteral("Diagnostique"), "IMG_PHONE", S::Menu, {}},
        {"MENU_HELP", QStringLiteral("&Aide"), "IMG_QUESTION", S::Menu, {}},
        {"MENUITEM_LOADCONFIG", QStringLiteral("Charger la configuration de l'appareil..."), "IMG_OPEN", S::Normal,
         ApplicationObjects},
        {"MENUITEM_SAVECONFIG", QStringLiteral("Sauvegarder la configuration de l'appareil sous..."), "IMG_SAVEAS",
         S::Normal, ApplicationObjects},
        {cmd::Separator, {}, "", S::Separator, {}},
        {"MENUITEM_OPTIONS", QStringLiteral("Options..."), "IMG_DIAGNOSIS", S::Normal, {}},
        {"MENUITEM_EXIT", QStringLiteral("Terminer"), "IMG_QUIT", S::Normal, {}},
        {"MENUITEM_INTERFACECHOOSE", QStringLiteral("&Choisir interface..."), "IMG_CONNECT", S::Normal, {}},
        {"MENUITEM_DEVICESCAN", QStringLiteral("Rechercher appareils"), "IMG_SEARCH", S::Normal, {}},
        {"MENUITEM_RELOAD", QStringLiteral("Lire paramètres de l'appareil"), "IMG_RELOAD", S::Normal,
         ApplicationObjects},
        {"MENUITEM_DEVSTATUS", QStringLiteral("Afficher l'état de l'appareil"), "IMG_INFO", S::Normal, {}},
        {"MENUITEM_DEVRESTART", QStringLiteral("Redémarrage de l'appareil"), "IMG_ERROR", S::Normal, {}},
        {"MENUITEM_TERMINALSDO", QStringLiteral("SDO-Terminal"), "IMG_PHONE", S::Normal, {}},
        {"MENUITEM_SETPREOPERATIONAL", QStringLiteral("Mettre à 'Pré-opérationnel'"), "IMG_PREOPERATIONAL",
         S::Normal, {}},
        {"MENUITEM_READING", QStringLiteral("Afficher valeurs mesurées"), "", S::Check, {}},
        {"MENUITEM_RECORDREADING", QStringLiteral("Enregistrement de valeurs mesurées ON/OFF"), "", S::Check, {}},
        {"MENUITEM_TREND", QStringLiteral("Tendance de la valeur mesurée"), "", S::Check, {}},
        {"MENUITEM_ABOUT", QStringLiteral("Informations sur le logiciel..."), "IMG_INFO", S::Normal, {}},
        {"MENUITEM_ONLINEHELP", QStringLiteral("Aide..."), "IMG_HELP", S::Normal, {}},
        {"MENUITEM_WHATTODO", QStringLiteral("Qu'est-ce qu'il faut faire ?"), "IMG_HELP", S::Normal, {}},
    };
    return table;
}

const std::vector<MenuDef>& MainMenuTable()
{
    static const std::vector<MenuDef> menus{
        {"MENU_FILE", {"MENUITEM_LOADCONFIG", "MENUITEM_SAVECONFIG", cmd::Separator, "MENUITEM_OPTIONS",
                       "MENUITEM_EXIT"}},
        {"MENU_INTERFACE", {"MENUITEM_INTERFACECHOOSE", "MENUITEM_DEVICESCAN", "MENUITEM_SETPREOPERATIONAL"}},
        {"MENU_DEVICE", {"MENUITEM_RELOAD", "MENUITEM_DEVSTATUS", "MENUITEM_DEVRESTART"}},
        {"MENU_DIAGNOSIS", {"MENUITEM_TERMINALSDO", cmd::Separator, "MENUITEM_READING", "MENUITEM_RECORDREADING",
                            "MENUITEM_TREND"}},
        {"MENU_HELP", {"MENUITEM_ABOUT", "MENUITEM_ONLINEHELP", "MENUITEM_WHATTODO"}},
    };
    return menus;
}

const CommandDef* FindCommand(const QString& key)
{
    for (const CommandDef& command : MainCommandTable())
        if (key == QLatin1String(command.key))
            return &command;
    return nullptr;
}
