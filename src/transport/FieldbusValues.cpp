#include "transport/FieldbusValues.h"

#include "model/ValueText.h"

bool Fieldbus_ChildByte(XmlNode parent, std::initializer_list<const char*> path, uint8_t& value)
{
    XmlNode node = parent;
    for (const char* name : path)
        node = node.child(name);
    if (!node)
        return false;
    value = roundTo<uint8_t>(StrToDouble(node.text()));
    return true;
}
