#include "ValidationFixture.h"

#include "core/ResultCodes.h"
#include "model/Checks.h"
#include "model/ConfSet.h"
#include "model/Configuration.h"

#include <functional>

namespace {

using SetOperation = std::function<int32_t(AppCore&, const Description*, XmlNode, const QString&)>;

template <typename Fn, typename V>
SetOperation setWith(Fn fn, V value)
{
    return [fn, value](AppCore& app, const Description* d, XmlNode p, const QString& path) {
        return fn(app, d, p, path, value);
    };
}

class ConfSetTest : public ValidationTest {};

// What each store leaves in the configuration: the element's text, or no element
// at all when the check refused before the element was looked for.
TEST_F(ConfSetTest, StoresOnlyWhatTheDescriptionAdmits)
{
    struct Case {
        const char* label;
        const char* path;
        SetOperation set;
        int32_t result;
        std::optional<QString> stored;
    };
    const auto none = std::nullopt;
    const Case cases[] = {
        {"long", "Both", setWith(Conf_SetLong, 7), rc::Ok, QStringLiteral("7")},
        {"long over", "Both", setWith(Conf_SetLong, 11), rc::Refused, none},
        {"long unknown", "Nothing", setWith(Conf_SetLong, 3), rc::Failed, none},
        {"byte", "Byte", setWith(Conf_SetByte, uint8_t(200)), rc::Ok, QStringLiteral("200")},
        {"float", "Gain", setWith(Conf_SetFloat, 1.5f), rc::Ok, QStringLiteral("1.5")},
        {"float over", "Gain", setWith(Conf_SetFloat, 3.0f), rc::Refused, none},
        {"toggle", "Flag", setWith(Conf_SetToggle, true), rc::Ok, QStringLiteral("true")},
        {"date", "Made", setWith(Conf_SetDate, QDate(2024, 1, 1)), rc::Ok, QStringLiteral("2024-01-01")},
        {"date early", "Made", setWith(Conf_SetDate, QDate(1990, 1, 1)), rc::Refused, none},
        {"string", "Label", setWith(Conf_SetString, QStringLiteral("abcd")), rc::Ok, QStringLiteral("abcd")},
        {"string long", "Label", setWith(Conf_SetString, QStringLiteral("abcde")), rc::Refused, QString()},
        {"longfloat", "Scaled", setWith(Conf_SetLongFloat, 1.5f), rc::Ok, QStringLiteral("150")},
        {"longfloat tie", "Scaled", setWith(Conf_SetLongFloat, 2.5f), rc::Ok, QStringLiteral("250")},
        {"longfloat decimals", "Scaled", setWith(Conf_SetLongFloat, 1.15f), rc::Ok, QStringLiteral("115")},
        {"longfloat over", "ScaledTight", setWith(Conf_SetLongFloat, 1.5f), rc::Refused, none},
        {"longfloat plain", "Plain", setWith(Conf_SetLongFloat, 2.5f), rc::Ok, QStringLiteral("2")},
        {"longfloat beyond 32 bits", "Scaled", setWith(Conf_SetLongFloat, -3e7f), rc::Refused, none},
        {"enum fr", "Mode", setWith(Conf_SetEnumString, QStringLiteral("Marche")), rc::Ok, QStringLiteral("1")},
        {"enum en", "Mode", setWith(Conf_SetEnumString, QStringLiteral("Off")), rc::Ok, QStringLiteral("0")},
        {"enum quote", "Mode", setWith(Conf_SetEnumString, QStringLiteral("Mise à l'échelle")), rc::Ok,
         QStringLiteral("2")},
        {"enum unknown", "Mode", setWith(Conf_SetEnumString, QStringLiteral("Nope")), rc::Refused, QString()},
        {"enum undescribed", "Nothing", setWith(Conf_SetEnumString, QStringLiteral("Off")), rc::UnknownInDescription,
         QString()},
        {"enumfloat", "Range", setWith(Conf_SetEnumFloat, 2.5f), rc::Ok, QStringLiteral("3")},
        {"enumfloat tenth", "Range", setWith(Conf_SetEnumFloat, 0.1f), rc::Ok, QStringLiteral("1")},
        {"enumfloat unknown", "Range", setWith(Conf_SetEnumFloat, 3.0f), rc::Refused, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(Conf_New(QString(), configuration), rc::Ok);
        parameters = Conf_Parameters(configuration.get());
        const QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(c.set(app, description.get(), parameters, path), c.result);
        EXPECT_EQ(storedText(path), c.stored);
        host.messages.clear();
    }
}

TEST_F(ConfSetTest, ARefusalKeepsTheStoredValue)
{
    ASSERT_EQ(Conf_SetLong(app, description.get(), parameters, QStringLiteral("Both"), 5), rc::Ok);
    EXPECT_EQ(Conf_SetLong(app, description.get(), parameters, QStringLiteral("Both"), 11), rc::Refused);
    expectMessage(QStringLiteral("La valeur11 est en-dehors de l'étendue de valeurs valide 0... 10"), msg::Warning);
    EXPECT_EQ(storedText(QStringLiteral("Both")), QStringLiteral("5"));
}

TEST_F(ConfSetTest, LongFloatComparesTheRoundedValueWithTheLimits)
{
    EXPECT_EQ(Conf_SetLongFloat(app, description.get(), parameters, QStringLiteral("ScaledTight"), 1.5f),
              rc::Refused);
    expectMessage(QStringLiteral("La valeur2  est en-dehors de l'étendue de valeurs valide <= 1"), msg::Warning);
    EXPECT_EQ(Conf_SetLongFloat(app, description.get(), parameters, QStringLiteral("ScaledTight"), 0.5f), rc::Ok);
    EXPECT_EQ(storedText(QStringLiteral("ScaledTight")), QStringLiteral("50"));
}

TEST_F(ConfSetTest, EnumerationRefusalsNameTheValueAndThePath)
{
    EXPECT_EQ(Conf_SetEnumString(app, description.get(), parameters, QStringLiteral("Mode"), QStringLiteral("Nope")),
              rc::Refused);
    expectMessage(QStringLiteral("La valeur 'Nope' non est admise pour 'Mode' le type d'énumération !"),
                  msg::Information);
    EXPECT_EQ(Conf_SetEnumFloat(app, description.get(), parameters, QStringLiteral("Range"), 3.0f), rc::Refused);
    expectMessage(QStringLiteral("La valeur '3' non est admise pour 'Range' le type d'énumération !"),
                  msg::Information);
}

TEST_F(ConfSetTest, EnglishEnumerationTextIsStoredWhileTheCheckWantsFrench)
{
    ASSERT_EQ(app.Language, QStringLiteral("fr"));
    EXPECT_EQ(Conf_SetEnumString(app, description.get(), parameters, QStringLiteral("Mode"), QStringLiteral("On")),
              rc::Ok);
    EXPECT_EQ(storedText(QStringLiteral("Mode")), QStringLiteral("1"));
    EXPECT_EQ(Check_String(app, description.get(), QStringLiteral("Mode"), QStringLiteral("On")), rc::Refused);
    expectNoMessage();
}

TEST_F(ConfSetTest, WithoutAConfigurationElement)
{
    const QString missing = QStringLiteral("Paramètre '%1' n'a pas été trouvé dans la configuration de l'appareil !");
    EXPECT_EQ(Conf_SetLong(app, description.get(), XmlNode(), QStringLiteral("Both"), 5), rc::UnknownInConfiguration);
    expectMessage(missing.arg(QStringLiteral("Both")), msg::Warning);
    EXPECT_EQ(Conf_SetToggle(app, description.get(), XmlNode(), QStringLiteral("Flag"), true),
              rc::UnknownInConfiguration);
    expectMessage(missing.arg(QStringLiteral("Flag")), msg::Warning);
    EXPECT_EQ(Conf_SetEnumString(app, description.get(), XmlNode(), QStringLiteral("Mode"), QStringLiteral("Off")),
              rc::UnknownInConfiguration);
    expectMessage(missing.arg(QStringLiteral("Mode")), msg::Warning);
    // A string looks for its element before the check and says nothing itself.
    EXPECT_EQ(Conf_SetString(app, description.get(), XmlNode(), QStringLiteral("Label"), QStringLiteral("abcdef")),
              rc::MissingDocument);
    expectNoMessage();
}

}  // namespace
