#include "ValidationFixture.h"

#include "core/ResultCodes.h"
#include "model/Configuration.h"

namespace {

QByteArray limits(const char* min, const char* max)
{
    QByteArray xml;
    if (*min)
        xml += QByteArray("<MinValue>") + min + "</MinValue>";
    if (*max)
        xml += QByteArray("<MaxValue>") + max + "</MaxValue>";
    return xml;
}

QByteArray validationMembers()
{
    using descr::member;
    return member("ParameterValueLong", "Both", limits("0", "10")) +
           member("ParameterValueLong", "MinOnly", limits("5", "")) +
           member("ParameterValueLong", "MaxOnly", limits("", "100")) +
           member("ParameterValueLong", "Free") +
           member("ParameterValueShort", "Short", limits("-5", "5")) +
           member("ParameterValueFloat", "Gain", limits("0.5", "2.5")) +
           member("ParameterValueFloat", "GainMin", limits("0.5", "")) +
           member("ParameterValueFloat", "GainMax", limits("", "2.6")) +
           member("ParameterValueFloat", "Frequency", limits("10", "5000")) +
           member("ParameterEnumFloat", "Range",
                  descr::enumeration({{1, "", "", "0.1"}, {2, "", "", "1"}, {3, "", "", "2.5"}})) +
           member("ParameterValueByte", "Byte", limits("", "5")) +
           member("ParameterValueString", "Label", descr::texts("Nom du canal", "Channel name") + "<MaxLen>4</MaxLen>") +
           member("ParameterValueString", "Unlimited", "<MaxLen>0</MaxLen>") +
           member("ParameterValueString", "NoMaxLen") +
           member("ParameterEnumString", "Mode",
                  descr::enumeration({{0, "Arrêt", "Off"}, {1, "Marche", "On"}, {2, "Mise à l'échelle", "Scaling"}})) +
           member("ParameterValueLongFloat", "Scaled", "<DecimalPointPos>2</DecimalPointPos>" + limits("", "2")) +
           member("ParameterValueLongFloat", "ScaledTight", "<DecimalPointPos>2</DecimalPointPos>" + limits("", "1")) +
           member("ParameterValueLongFloat", "Plain") +
           member("ParameterValueDate", "Made", limits("45000", "")) +
           member("ParameterToggle", "Flag") +
           member("ParameterBitMask", "Mask8", "<Width>8</Width>") +
           member("ParameterBitMask", "Mask32", "<Width>32</Width>");
}

}  // namespace

ValidationTest::ValidationTest() : description(descr::make(validationMembers()))
{
    app.host = &host;
    EXPECT_EQ(Conf_New(QString(), configuration), rc::Ok);
    parameters = Conf_Parameters(configuration.get());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

ValidationTest::~ValidationTest() { QLocale::setDefault(userLocale_); }

void ValidationTest::expectMessage(const QString& text, int style)
{
    ASSERT_EQ(host.messages.size(), 1u) << host.texts().join('|').toStdString();
    EXPECT_EQ(host.messages[0].text, text);
    EXPECT_EQ(host.messages[0].style, style);
    host.messages.clear();
}

void ValidationTest::expectNoMessage()
{
    EXPECT_TRUE(host.messages.empty()) << host.texts().join('|').toStdString();
    host.messages.clear();
}

std::optional<QString> ValidationTest::storedText(const QString& path) const
{
    const XmlNode element = parameters.selectSingle(path);
    return element ? std::optional(element.text()) : std::nullopt;
}
