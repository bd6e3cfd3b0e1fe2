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

QString Fieldbus_BytesToText(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    const QString text = QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}
