#include "DescriptionText.h"

#include <gtest/gtest.h>

namespace descr {

QByteArray member(const char* kind, const char* name, const QByteArray& children)
{
    return QByteArray("<") + kind + "><Name>" + name + "</Name>" + children + "</" + kind + ">";
}

QByteArray group(const char* name, const QByteArray& members)
{
    return member("ParameterGroup", name, "<Members>" + members + "</Members>");
}

QByteArray texts(const char* fr, const char* en, const char* de)
{
    QByteArray xml = "<Description>";
    for (const auto& [language, text] : {std::pair{"de", de}, {"en", en}, {"fr", fr}}) {
        if (*text)
            xml += QByteArray("<") + language + ">" + text + "</" + language + ">";
    }
    return xml + "</Description>";
}

QByteArray enumeration(std::initializer_list<Item> items)
{
    QByteArray xml = "<Enumeration>";
    for (const Item& item : items) {
        xml += "<EnumItem><Code>" + QByteArray::number(item.code) + "</Code>";
        if (*item.value)
            xml += QByteArray("<Value>") + item.value + "</Value>";
        xml += texts(item.fr, item.en) + "</EnumItem>";
    }
    return xml + "</Enumeration>";
}

QByteArray document(const QByteArray& rootMembers)
{
    return "<?xml version='1.0'?><DeviceDescription><ParameterGroup><Members>" + rootMembers +
           "</Members></ParameterGroup></DeviceDescription>";
}

std::unique_ptr<Description> make(const QByteArray& rootMembers)
{
    auto xml = std::make_unique<XmlDocument>();
    QString reason;
    EXPECT_TRUE(xml->loadFromMemory(document(rootMembers), &reason)) << reason.toStdString();
    const XmlNode root = xml->documentElement().child("ParameterGroup");
    return std::make_unique<Description>(std::move(xml), root);
}

}  // namespace descr
