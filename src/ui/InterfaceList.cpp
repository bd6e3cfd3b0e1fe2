#include "ui/InterfaceList.h"

#include "transport/can/CanNets.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/serial/ComSettings.h"

#include <algorithm>

namespace {

constexpr int16_t FirstComPort = 1;
constexpr int16_t LastComPort = 8;
constexpr int32_t DeviceNetBaudCodes[] = {0, 1, 2};  // 500, 250, 125 kBaud

const QString CanHardwareWord = QStringLiteral("CANHardware");

QString kindWord(int32_t kind)
{
    switch (kind) {
    case CANBus: return QStringLiteral("CANBus");
    case PROFIBUS: return QStringLiteral("PROFIBUS");
    case RS232: return QStringLiteral("RS232");
    case DeviceNet: return QStringLiteral("DeviceNet");
    default: return {};
    }
}

QString kindImage(int32_t kind)
{
    switch (kind) {
    case PROFIBUS: return QStringLiteral("IMG_PROFIBUS");
    case RS232: return QStringLiteral("IMG_RS232");
    case DeviceNet: return QStringLiteral("IMG_DEVICENET");
    default: return {};
    }
}

QString entryText(const InterfaceSettings& entry)
{
    switch (entry.InterfaceType) {
    case CANBus: return QStringLiteral("%1 (%2 kBaud)").arg(entry.BusName).arg(entry.BaudRate);
    case PROFIBUS: return QStringLiteral("%1 (Carte %2)").arg(DPV1_MasterTypeText(entry.PType)).arg(entry.Devno);
    case RS232: return QStringLiteral("COM%1 (%2)").arg(entry.ComPort).arg(COM_SettingsText(comSettingsOf(entry)));
    case DeviceNet: return DNET_BaudText(entry.DeviceNetBaud);
    default: return {};
    }
}

// The parent of a CAN net: the node of its hardware, made when the hardware first comes.
QString canParent(QList<InterfaceNode>& tree, QStringList& hardware, const QString& name)
{
    qsizetype number = hardware.indexOf(name);
    if (number < 0) {
        number = hardware.size();
        hardware << name;
        tree << InterfaceNode{CanHardwareWord + '_' + QString::number(number), {}, name,
                              QStringLiteral("IMG_CANBUS")};
    }
    return CanHardwareWord + '_' + QString::number(number);
}

// The parent of another kind: the node of its kind word, made when its first entry comes.
QString kindParent(QList<InterfaceNode>& tree, int32_t kind)
{
    const QString word = kindWord(kind);
    const bool made = std::any_of(tree.cbegin(), tree.cend(), [&](const InterfaceNode& n) { return n.key == word; });
    if (!made)
        tree << InterfaceNode{word, {}, word, kindImage(kind)};
    return word;
}

}  // namespace

QList<InterfaceSettings> InterfaceList_Build(AppState& state, const QList<InterfaceSettings>& previous,
                                             const InterfaceSettings& current)
{
    QList<InterfaceSettings> list;
    for (const InterfaceSettings& entry : previous) {
        if (entry.InterfaceType == PROFIBUS)
            list << entry;
    }
    // A card chosen in an earlier run is offered again.
    if (current.InterfaceType == PROFIBUS && InterfaceList_Find(list, current) < 0) {
        InterfaceSettings card;
        card.InterfaceType = PROFIBUS;
        card.PType = current.PType;
        card.Devno = current.Devno;
        list << card;
    }
    // A library without nets adds none and the tree goes on without a CAN branch.
    static_cast<void>(CAN_ListNets(state, list));
    if (DNET_HardwarePresent(state)) {
        for (const int32_t code : DeviceNetBaudCodes) {
            InterfaceSettings entry;
            entry.InterfaceType = DeviceNet;
            entry.DeviceNetBaud = code;
            list << entry;
        }
    }
    for (int16_t port = FirstComPort; port <= LastComPort; ++port) {
        InterfaceSettings entry;  // 9600 Baud, 8, even, 1
        entry.InterfaceType = RS232;
        entry.ComPort = port;
        list << entry;
    }
    return list;
}

QList<InterfaceNode> InterfaceTree(const QList<InterfaceSettings>& list)
{
    QList<InterfaceNode> tree;
    QStringList hardware;
    kindParent(tree, PROFIBUS);
    for (qsizetype position = 0; position < list.size(); ++position) {
        const InterfaceSettings& entry = list[position];
        const QString word = kindWord(entry.InterfaceType);
        if (word.isEmpty())
            continue;
        const bool can = entry.InterfaceType == CANBus;
        const QString parent = can ? canParent(tree, hardware, entry.HWName) : kindParent(tree, entry.InterfaceType);
        const QString image = !can ? kindImage(entry.InterfaceType)
                              : entry.Connected ? QStringLiteral("connected")
                                                : QStringLiteral("disconnected");
        tree << InterfaceNode{word + '_' + QString::number(position), parent, entryText(entry), image};
    }
    return tree;
}

qsizetype InterfaceList_Find(const QList<InterfaceSettings>& list, const InterfaceSettings& current)
{
    const auto same = [&](const InterfaceSettings& entry) {
        if (entry.InterfaceType != current.InterfaceType)
            return false;
        switch (entry.InterfaceType) {
        case CANBus: return entry.HWName == current.HWName && entry.BusName == current.BusName;
        case PROFIBUS: return entry.PType == current.PType && entry.Devno == current.Devno;
        case RS232: return entry.ComPort == current.ComPort;
        case DeviceNet: return entry.DeviceNetBaud == current.DeviceNetBaud;
        default: return false;
        }
    };
    const auto found = std::find_if(list.cbegin(), list.cend(), same);
    return found == list.cend() ? -1 : found - list.cbegin();
}

std::optional<qsizetype> InterfaceKey_Position(const QString& key, qsizetype listLength)
{
    const qsizetype split = key.indexOf('_');
    if (split < 0 || key.left(split) == CanHardwareWord)
        return std::nullopt;
    bool number = false;
    const qsizetype position = key.mid(split + 1).toLongLong(&number);
    if (!number || position < 0 || position >= listLength)
        return std::nullopt;
    return position;
}

bool InterfaceList_RemoveCard(QList<InterfaceSettings>& list, const QString& key)
{
    const std::optional<qsizetype> position = InterfaceKey_Position(key, list.size());
    if (!position || list[*position].InterfaceType != PROFIBUS)
        return false;
    list.removeAt(*position);
    return true;
}

