// Values as the grid shows them, from the text the configuration keeps.
#include "core/xml/XmlDocument.h"
#include "device/present/ParameterText.h"
#include "support/QStringPrint.h"

#include <gtest/gtest.h>

namespace {

TEST(PresentValueText, EachKindAsTheGridShowsIt)
{
    const char* const items = "<Enumeration><EnumItem><Code>1</Code><Value>200</Value>"
                              "<Description><fr>deux cents</fr><en>two hundred</en></Description>"
                              "</EnumItem></Enumeration>";
    const struct {
        QByteArray member;
        const char* stored;
        const char* shown;
    } cases[] = {
        {"<ParameterValueFloat/>", "12.5", "12.50000"},
        {"<ParameterValueFloat/>", "2000000", "2.0000E+06"},
        {"<ParameterValueLongFloat><DecimalPointPos>2</DecimalPointPos></ParameterValueLongFloat>", "1234", "12.34"},
        {"<ParameterValueLongFloat><DecimalPointPos>0</DecimalPointPos></ParameterValueLongFloat>", "1234", "1234"},
        {"<ParameterBitMask><Width>8</Width></ParameterBitMask>", "5", "0x05"},
        {"<ParameterBitMask><Width>32</Width></ParameterBitMask>", "-1", "0xFFFFFFFF"},
        {QByteArray("<ParameterEnumString>") + items + "</ParameterEnumString>", "1", "deux cents"},
        {QByteArray("<ParameterEnumString>") + items + "</ParameterEnumString>", "7", "7"},
        {QByteArray("<ParameterEnumFloat>") + items + "</ParameterEnumFloat>", "1", "200"},
        {"<ParameterToggle/>", "1", "true"},
        {"<ParameterValueFloat/>", "", ""},
    };
    for (const auto& c : cases) {
        XmlDocument document;
        ASSERT_TRUE(document.loadFromMemory(c.member, nullptr)) << c.member.constData();
        EXPECT_EQ(displayValue(document.documentElement(), QString::fromLatin1(c.stored), QStringLiteral("fr")),
                  QString::fromUtf8(c.shown))
            << c.member.constData() << " " << c.stored;
    }
}

}  // namespace
