#include "sim/amplifier/SimAmplifier.h"

#include "core/xml/XmlDocument.h"
#include "model/teds/TedsCodec.h"
#include "sim/amplifier/DescriptionReader.h"
#include "sim/amplifier/PdoRules.h"
#include "sim/amplifier/StandardObjects.h"
#include "sim/amplifier/ValueCheck.h"
#include "sim/amplifier/ValueCodec.h"
#include "sim/amplifier/WellKnownPaths.h"

namespace {

// "ZEM QSG 2" from the description's header: vendor and family.
QString productName(const XmlNode& root)
{
    const XmlNode header = root.child("Header");
    const QString vendor = header.childText("Vendor").trimmed();
    const QString family = header.childText("Family").trimmed();
    return (vendor.isEmpty() ? QStringLiteral("ZEM") : vendor) + QLatin1Char(' ')
           + (family.isEmpty() ? QStringLiteral("amplifier") : family);
}

// The sensor a simulated strain-gauge amplifier has plugged in at start: a 2 mV/V
// full bridge of 350 Ω for 2 units full scale, as its TEDS memory holds it.
QByteArray defaultSensorTeds(const SimIdentity& identity)
{
    const std::pair<const char*, QString> values[] = {
        {"ManufacturerID", QStringLiteral("31")},
        {"ModelNumber", QStringLiteral("3300")},
        {"VersionLetter", QStringLiteral("B")},
        {"VersionNumber", QStringLiteral("2")},
        {"SerialNumber", QString::number(identity.serialNumber.toUInt() & 0xFFFFFFu)},
        {"%MaxPhysVal", QStringLiteral("2")},
        {"%MinElecVal", QStringLiteral("0")},
        {"%MaxElecVal", QStringLiteral("2")},
        {"%BridgeType", QStringLiteral("Pont complet")},
        {"%SensorImped", QStringLiteral("350")},
        {"%RespTime", QStringLiteral("0,001")},
        {"%ExciteAmplNom", QStringLiteral("5")},
        {"%ExciteAmplMin", QStringLiteral("1")},
        {"%ExciteAmplMax", QStringLiteral("10")},
        {"%CalDate", QStringLiteral("15/03/2024")},
        {"%CalInitials", QStringLiteral("QBN")},
        {"%CalPeriod", QStringLiteral("365")},
        {"%MeasID", QStringLiteral("1")},
    };
    TedsContent content = bridgeSensorContent();
    for (const auto& [key, text] : values)
        content.set(key, text);
    return encodeTeds(content);
}

bool isApplicationValue(const ObjectEntry& entry)
{
    return !isCommunicationObject(entry.key.index) && entry.persistent && entry.access == Access::ReadWrite;
}

bool isCommunicationValue(const ObjectEntry& entry)
{
    return isCommunicationObject(entry.key.index) && entry.access == Access::ReadWrite;
}

}  // namespace

std::unique_ptr<SimAmplifier> SimAmplifier::create(const XmlDocument& description, const SimIdentity& identity,
                                                   QString* reason)
{
    const XmlNode root = description.documentElement();
    const XmlNode rootGroup = root.child("ParameterGroup");
    if (root.name() != QLatin1String("DeviceDescription") || rootGroup.isNull()) {
        if (reason)
            *reason = QStringLiteral("no DeviceDescription/ParameterGroup in the description");
        return nullptr;
    }
    ObjectDictionary dictionary;
    for (ObjectEntry& entry : readDescriptionEntries(rootGroup))
        dictionary.add(std::move(entry));
    SimIdentity named = identity;
    if (named.deviceName.isEmpty())
        named.deviceName = productName(root);
    applyIdentity(dictionary, named);
    addPdoObjects(dictionary, named.nodeId);
    addErrorControlObjects(dictionary, named.nodeId);
    return std::unique_ptr<SimAmplifier>(new SimAmplifier(std::move(dictionary), named));
}

std::unique_ptr<SimAmplifier> SimAmplifier::load(const QString& descriptionPath, const SimIdentity& identity,
                                                 QString* reason)
{
    XmlDocument document;
    QString why;
    if (!document.load(descriptionPath, QString(), &why)) {
        if (reason)
            *reason = descriptionPath + QStringLiteral(": ") + why;
        return nullptr;
    }
    return create(document, identity, reason);
}

SimAmplifier::SimAmplifier(ObjectDictionary dictionary, const SimIdentity& identity)
    : dictionary_(std::move(dictionary)), identity_(identity)
{
    live_ = resolveLiveKeys(dictionary_);
    actions_ = resolveActions(dictionary_);
    mapDefaultTransmitPdo();
    allowPdoOperation();
    showSignalDecimals();
    if (live_.tedsBlock) {
        takeTedsBlock(defaultSensorTeds(identity_));
        activateTeds();
    }
    storedApp_ = factoryApp_ = snapshot(isApplicationValue);
    storedComm_ = factoryComm_ = snapshot(isCommunicationValue);
}

// Transmit PDO 1 carries the gross value and the long status word unless the
// description maps something else.
void SimAmplifier::mapDefaultTransmitPdo()
{
    const ObjectEntry* gross = live_.gross ? dictionary_.find(*live_.gross) : nullptr;
    const ObjectEntry* status = live_.statusLong ? dictionary_.find(*live_.statusLong) : nullptr;
    ObjectEntry* count = dictionary_.find({stdobj::FirstTpdoMapping, 0});
    if (!gross || !status || !count || gross->width == 0 || valuecodec::toUnsigned(count->value) != 0)
        return;
    setEntryValue(*dictionary_.find({stdobj::FirstTpdoMapping, 1}), mappingEntry(*gross), {});
    setEntryValue(*dictionary_.find({stdobj::FirstTpdoMapping, 2}), mappingEntry(*status), {});
    setEntryValue(*count, 2, {});
}

// A fresh amplifier shows its signal (a few mV/V, or mA/V) with four decimals, as a
// real one leaves the factory; zero decimals would round the demo signal away.
void SimAmplifier::showSignalDecimals()
{
    constexpr int FactoryDecimals = 4;
    if (const std::optional<ObjectKey> key = keyOfPath(QString::fromLatin1(simpath::DecimalPointPos)))
        if (ObjectEntry* decimals = dictionary_.find(*key))
            setEntryValue(*decimals, FactoryDecimals, {});
}

// PDO operation is allowed after every start; the switch is not stored.
void SimAmplifier::allowPdoOperation()
{
    if (ObjectEntry* allow = live_.allowPdo ? dictionary_.find(*live_.allowPdo) : nullptr)
        setEntryValue(*allow, 1, {});
}

bool SimAmplifier::pdoSuspended() const
{
    const ObjectEntry* allow = live_.allowPdo ? dictionary_.find(*live_.allowPdo) : nullptr;
    return allow && valuecodec::toUnsigned(allow->value) == 0;
}

uint32_t SimAmplifier::readObject(uint16_t index, uint8_t sub, QByteArray& data)
{
    std::lock_guard lock(mutex_);
    return readLocked({index, sub}, data);
}

uint32_t SimAmplifier::writeObject(uint16_t index, uint8_t sub, const QByteArray& data)
{
    std::lock_guard lock(mutex_);
    return writeLocked({index, sub}, data);
}

uint32_t SimAmplifier::readLocked(ObjectKey key, QByteArray& data)
{
    if (silentLocked())
        return sdoabort::Timeout;
    if (const uint32_t refused = faults_.refusal(SimDirection::Read, key))
        return refused;
    ObjectEntry* entry = nullptr;
    if (const uint32_t abort = dictionary_.locate(key, entry))
        return abort;
    if (entry->access == Access::WriteOnly)
        return sdoabort::WriteOnly;
    refreshLive();
    data = faults_.stuck(key).value_or(entry->value);
    return 0;
}

uint32_t SimAmplifier::writeLocked(ObjectKey key, const QByteArray& data)
{
    const uint32_t abort = acceptWrite(key, data);
    if (journaling_)
        journal_.push_back({key, data, abort});
    return abort;
}

uint32_t SimAmplifier::acceptWrite(ObjectKey key, const QByteArray& data)
{
    if (silentLocked())
        return sdoabort::Timeout;
    if (const uint32_t refused = faults_.refusal(SimDirection::Write, key))
        return refused;
    ObjectEntry* entry = nullptr;
    if (const uint32_t abort = dictionary_.locate(key, entry))
        return abort;
    if (entry->access == Access::ReadOnly)
        return sdoabort::ReadOnly;
    if (const uint32_t abort = checkAction(*entry, data))
        return abort;
    if (const uint32_t abort = checkWrite(*entry, data))
        return abort;
    if (const uint32_t abort = checkPdoWrite(dictionary_, key, data, {nmt_ == NmtState::Operational, pdoSuspended()}))
        return abort;
    if (isAction(entry->kind)) {
        runAction(actionAt(key));
        return 0;
    }
    entry->value = normalizedWrite(*entry, data);
    afterWrite(*entry);
    return 0;
}

std::optional<ObjectEntry> SimAmplifier::entryAt(ObjectKey key)
{
    std::lock_guard lock(mutex_);
    refreshLive();
    const ObjectEntry* entry = dictionary_.find(key);
    return entry ? std::optional<ObjectEntry>(*entry) : std::nullopt;
}

std::optional<ObjectEntry> SimAmplifier::entryByPath(const QString& path)
{
    const auto key = keyOfPath(path);
    return key ? entryAt(*key) : std::nullopt;
}

std::optional<ObjectKey> SimAmplifier::keyOfPath(const QString& path) const
{
    std::lock_guard lock(mutex_);
    return dictionary_.keyOf(path);
}

std::optional<ObjectKey> SimAmplifier::keyOfDpv1(uint8_t slot, uint8_t index) const
{
    std::lock_guard lock(mutex_);
    return dictionary_.keyOf(Dpv1Address{slot, index});
}

std::optional<ObjectKey> SimAmplifier::keyOfDeviceNet(uint8_t classId, uint8_t instance, uint8_t attribute) const
{
    std::lock_guard lock(mutex_);
    return dictionary_.keyOf(DeviceNetAddress{classId, instance, attribute});
}

SimAmplifier::Snapshot SimAmplifier::snapshot(const std::function<bool(const ObjectEntry&)>& which)
{
    Snapshot values;
    dictionary_.forEach([&](ObjectEntry& entry) {
        if (which(entry))
            values[entry.key] = entry.value;
    });
    return values;
}

void SimAmplifier::restore(const Snapshot& values)
{
    for (const auto& [key, bytes] : values) {
        if (ObjectEntry* entry = dictionary_.find(key))
            entry->value = bytes;
    }
}
