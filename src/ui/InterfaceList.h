#pragma once
#include "transport/InterfaceSettings.h"

#include <QList>
#include <QString>
#include <optional>

struct AppState;

// The rules of the interface selection, apart from its widgets: the list of the
// interfaces on offer, the tree that shows it, and what OK and "delete card" do with
// a node's key. A node's key is a kind word, "_" and the entry's list position
// ("CANBus_3", "RS232_9"); a CAN hardware node carries "CANHardware_" and its own
// number, the parent nodes of the other kinds carry their kind word alone.

inline const QString ChooseInterfaceFirst = QStringLiteral("Choisissez une interface d'abord !");

// One node of the tree, parents before their children.
struct InterfaceNode {
    QString key;
    QString parentKey;  // empty for a top-level node
    QString text;
    QString image;      // IMG_* name, or "connected"/"disconnected" for a CAN net
    bool operator==(const InterfaceNode&) const = default;
};

// The interfaces on offer, in this order: the PROFIBUS cards of `previous` (with the
// current card when it is not among them), the nets of the CAN library, the three
// DeviceNet baud rates when the DeviceNet probe answers, COM1 to COM8.
QList<InterfaceSettings> InterfaceList_Build(AppState& state, const QList<InterfaceSettings>& previous,
                                             const InterfaceSettings& current);
// The tree of a list: a "PROFIBUS" parent first, then one parent per kind or CAN
// hardware as its first entry comes, each entry a node below its parent.
QList<InterfaceNode> InterfaceTree(const QList<InterfaceSettings>& list);
// The position of the entry that stands for the same interface as `current`; -1.
qsizetype InterfaceList_Find(const QList<InterfaceSettings>& list, const InterfaceSettings& current);

// The list position that OK takes from a node's key; nothing for a key that names no
// entry (a CAN hardware or a parent node), which OK refuses with ChooseInterfaceFirst.
std::optional<qsizetype> InterfaceKey_Position(const QString& key, qsizetype listLength);
// Removes the entry of the key when it is a PROFIBUS card; whether it did.
bool InterfaceList_RemoveCard(QList<InterfaceSettings>& list, const QString& key);

