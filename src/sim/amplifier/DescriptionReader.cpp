#include "sim/amplifier/DescriptionReader.h"

#include "core/xml/XmlDocument.h"
#include "sim/amplifier/ValueCodec.h"

#include <QDate>

namespace {

std::optional<int64_t> childInteger(const XmlNode& node, const char* name)
{
    return node.hasChild(name) ? parseDescriptionInteger(node.childText(name)) : std::nullopt;
}

std::optional<uint8_t> childByte(const XmlNode& node, const char* name)
{
    const auto value = childInteger(node, name);
    return value ? std::optional<uint8_t>(static_cast<uint8_t>(*value)) : std::nullopt;
}

bool flagText(const XmlNode& node, const char* name, bool absent)
{
    if (!node.hasChild(name))
        return absent;
    const QString text = node.childText(name).trimmed();
    return text == QLatin1String("true") || text == QLatin1String("1");
}

int fixedWidth(ParameterKind kind, std::optional<int64_t> widthBits)
{
    switch (kind) {
    case ParameterKind::ValueByte:
    case ParameterKind::Toggle:
    case ParameterKind::EnumFloat:
    case ParameterKind::ActionByte:
        return 1;
    case ParameterKind::ValueShort:
    case ParameterKind::ValueDate:
        return 2;
    case ParameterKind::EnumString:
        return widthBits == 8 ? 1 : widthBits == 16 ? 2 : 4;
    case ParameterKind::BitMask:
        return widthBits == 8 ? 1 : 4;
    case ParameterKind::ValueString:
    case ParameterKind::ValueHexBinary:
        return 0;
    default:
        return 4;
    }
}

// Date limits may be written as dates; the device compares day counts from BaseDate.
std::optional<double> limitValue(const XmlNode& parameter, ParameterKind kind, const char* name)
{
    if (!parameter.hasChild(name))
        return std::nullopt;
    const QString text = parameter.childText(name).trimmed();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (ok)
        return number;
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    const QDate base = QDate::fromString(parameter.childText("BaseDate").trimmed().left(10), Qt::ISODate);
    if (kind == ParameterKind::ValueDate && date.isValid() && base.isValid())
        return static_cast<double>(base.daysTo(date));
    return std::nullopt;
}

void readLengths(const XmlNode& parameter, ObjectEntry& entry)
{
    const auto minLen = childInteger(parameter, "MinLen");
    const auto maxLen = childInteger(parameter, "MaxLen");
    if (entry.kind == ParameterKind::ValueHexBinary) {
        entry.maxLength = static_cast<int>(maxLen.value_or(DefaultHexBinaryLength));
    } else if (entry.kind == ParameterKind::ValueString) {
        entry.padLength = static_cast<int>(minLen.value_or(0));
        entry.maxLength = static_cast<int>(maxLen.value_or(minLen.value_or(MaxVariableLength)));
    }
}

void readEnumeration(const XmlNode& parameter, ObjectEntry& entry)
{
    for (const XmlNode& item : parameter.child("Enumeration").elementChildren()) {
        if (const auto code = childInteger(item, "Code"))
            entry.enumCodes.push_back(*code);
    }
}

void readAddresses(const XmlNode& parameter, ObjectEntry& entry)
{
    const XmlNode communication = parameter.child("Communication");
    const XmlNode dpv1 = communication.child("DPV1");
    const auto slot = childByte(dpv1, "SlotNumber");
    const auto dpIndex = childByte(dpv1, "Index");
    if (slot && dpIndex)
        entry.dpv1 = Dpv1Address{*slot, *dpIndex};
    const XmlNode dnet = communication.child("DeviceNet");
    const auto classId = childByte(dnet, "Class");
    const auto instance = childByte(dnet, "Instance");
    const auto attribute = childByte(dnet, "Attribute");
    if (classId && instance && attribute)
        entry.deviceNet = DeviceNetAddress{*classId, *instance, *attribute};
}

QByteArray defaultValue(const ObjectEntry& entry)
{
    if (entry.kind == ParameterKind::ValueString)
        return QByteArray(entry.padLength, '\0');
    if (!isNumeric(entry.kind) || isAction(entry.kind))
        return {};
    if (!entry.enumCodes.empty())
        return valuecodec::encode(entry, static_cast<double>(entry.enumCodes.front()));
    const bool zeroFits = (!entry.minValue || *entry.minValue <= 0) && (!entry.maxValue || *entry.maxValue >= 0);
    const bool dated = entry.kind == ParameterKind::ValueDate;
    return valuecodec::encode(entry, zeroFits || dated ? 0.0 : entry.minValue.value_or(0));
}

// The entry a parameter element describes, without its SDO address; nothing for
// groups and unknown element names.
std::optional<ObjectEntry> entryFromParameter(const XmlNode& parameter)
{
    const auto kind = parameterKindFromElement(parameter.name());
    if (!kind)
        return std::nullopt;
    ObjectEntry entry;
    entry.kind = *kind;
    entry.width = fixedWidth(*kind, childInteger(parameter, "Width"));
    readLengths(parameter, entry);
    entry.decimals = static_cast<int>(childInteger(parameter, "DecimalPointPos").value_or(0));
    const QString mode = parameter.childText("AccessMode").trimmed();
    entry.access = isAction(*kind) || mode == QLatin1String("WO") ? Access::WriteOnly
                   : mode == QLatin1String("RO") || *kind == ParameterKind::SequenceConstLong
                       ? Access::ReadOnly
                       : Access::ReadWrite;
    entry.persistent = !isAction(*kind) && flagText(parameter, "Persistent", true);
    entry.minValue = limitValue(parameter, *kind, "MinValue");
    entry.maxValue = limitValue(parameter, *kind, "MaxValue");
    readEnumeration(parameter, entry);
    if (isAction(*kind))
        entry.actionValue = childInteger(parameter, "Value");
    readAddresses(parameter, entry);
    entry.value = defaultValue(entry);
    return entry;
}

void collect(const XmlNode& group, const QString& prefix, std::vector<ObjectEntry>& entries)
{
    for (const XmlNode& member : group.child("Members").elementChildren()) {
        const QString path = prefix + member.childText("Name").trimmed();
        if (member.name() == QLatin1String("ParameterGroup")) {
            collect(member, path + QLatin1Char('/'), entries);
            continue;
        }
        const XmlNode sdo = member.child("Communication").child("SDO");
        const auto index = childInteger(sdo, "Index");
        const auto sub = childInteger(sdo, "Sub");
        auto entry = entryFromParameter(member);
        if (!entry || !index || !sub || *index <= 0 || *index > 0xFFFF)
            continue;
        entry->key = ObjectKey{static_cast<uint16_t>(*index), static_cast<uint8_t>(*sub)};
        entry->path = path;
        entries.push_back(std::move(*entry));
    }
}

}  // namespace

std::optional<int64_t> parseDescriptionInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qlonglong value = trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                ? trimmed.mid(2).toLongLong(&ok, 16)
                                : trimmed.toLongLong(&ok, 10);
    return ok ? std::optional<int64_t>(value) : std::nullopt;
}

XmlNode findDescriptionNode(const XmlNode& rootGroup, const QString& path)
{
    XmlNode node = rootGroup;
    for (const QString& segment : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        XmlNode found;
        for (const XmlNode& member : node.child("Members").elementChildren()) {
            if (member.childText("Name").trimmed() == segment) {
                found = member;
                break;
            }
        }
        if (found.isNull())
            return {};
        node = found;
    }
    return node;
}

std::optional<int64_t> firstEnumerationCode(const XmlNode& rootGroup, const QString& path)
{
    const XmlNode item = findDescriptionNode(rootGroup, path).child("Enumeration").child("EnumItem");
    return item.isNull() ? std::nullopt : childInteger(item, "Code");
}

std::vector<ObjectEntry> readDescriptionEntries(const XmlNode& rootGroup)
{
    std::vector<ObjectEntry> entries;
    collect(rootGroup, QString(), entries);
    return entries;
}
