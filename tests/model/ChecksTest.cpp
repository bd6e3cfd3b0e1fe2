#include "ValidationFixture.h"

#include "core/ResultCodes.h"
#include "model/Checks.h"
#include "model/Descriptions.h"

#include <limits>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// A refusal names the value and the bound(s); "" means accepted without a message.
struct NumberCase {
    const char* path;
    double value;
    int32_t result;
    const char* message;
};

class ChecksTest : public ValidationTest {
protected:
    void expectOutcome(const NumberCase& c, int32_t result)
    {
        SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.value));
        EXPECT_EQ(result, c.result);
        if (*c.message)
            expectMessage(QString::fromUtf8(c.message), msg::Warning);
        else
            expectNoMessage();
    }
};

TEST_F(ChecksTest, CheckLongLimitsAndTheirMessages)
{
    const NumberCase cases[] = {
        {"Both", 11, rc::Refused, "La valeur11 est en-dehors de l'étendue de valeurs valide 0... 10"},
        {"Both", -1, rc::Refused, "La valeur-1 est en-dehors de l'étendue de valeurs valide 0... 10"},
        {"Both", 10, rc::Ok, ""},
        {"Both", 0, rc::Ok, ""},
        {"MinOnly", 4, rc::Refused, "La valeur4  est en-dehors de l'étendue de valeurs valide >= 5"},
        {"MinOnly", kMax, rc::Ok, ""},
        {"MaxOnly", 101, rc::Refused, "La valeur101  est en-dehors de l'étendue de valeurs valide <= 100"},
        {"MaxOnly", kMin, rc::Ok, ""},
        {"Free", kMin, rc::Ok, ""},
        {"Free", kMax, rc::Ok, ""},
        {"Short", 6, rc::Refused, "La valeur6 est en-dehors de l'étendue de valeurs valide -5... 5"},
        {"Nothing", 1, rc::Failed, ""},
    };
    for (const NumberCase& c : cases)
        expectOutcome(c, Check_Long(app, description.get(), QString::fromLatin1(c.path), int32_t(c.value)));
}

TEST_F(ChecksTest, CheckFloatLimitsEnumerationAndKinds)
{
    const NumberCase cases[] = {
        {"Gain", 3, rc::Refused, "La valeur3  est en-dehors de l'étendue de valeurs valide 0,5... 2,5"},
        {"Gain", 0.25, rc::Refused, "La valeur0,25  est en-dehors de l'étendue de valeurs valide 0,5... 2,5"},
        {"Gain", 2.5, rc::Ok, ""},
        {"GainMin", 0.25, rc::Refused, "La valeur0,25  est en-dehors de l'étendue de valeurs valide >= 0,5"},
        {"GainMax", 2.75, rc::Refused, "La valeur2,75  est en-dehors de l'étendue de valeurs valide <= 2,6"},
        {"GainMax", 2.6, rc::Ok, ""},
        {"Frequency", 12000.5, rc::Refused, "La valeur12000,5  est en-dehors de l'étendue de valeurs valide 10... 5000"},
        {"Range", 2.5, rc::Ok, ""},
        {"Range", 0.1, rc::Ok, ""},
        {"Range", 1, rc::Ok, ""},
        {"Range", 3, rc::Refused, ""},
        {"Both", 1, rc::NotSupported, ""},
        {"Nothing", 1, rc::Failed, ""},
    };
    for (const NumberCase& c : cases)
        expectOutcome(c, Check_Float(app, description.get(), QString::fromLatin1(c.path), float(c.value)));
}

TEST_F(ChecksTest, CheckByteOnlyNeedsTheParameter)
{
    const NumberCase cases[] = {
        {"Byte", 200, rc::Ok, ""},
        {"Byte", 255, rc::Ok, ""},
        {"Nothing", 1, rc::Failed, ""},
    };
    for (const NumberCase& c : cases)
        expectOutcome(c, Check_Byte(app, description.get(), QString::fromLatin1(c.path), uint8_t(c.value)));
}

// What the bus type carries, whatever the description's limits: a value beyond it
// would be sent cut to its width.
TEST_F(ChecksTest, CheckWidthRefusesWhatTheBusTypeCannotCarry)
{
    const NumberCase cases[] = {
        {"Byte", 255, rc::Ok, ""},
        {"Byte", 300, rc::Refused, "La valeur300 est en-dehors de l'étendue de valeurs valide 0... 255"},
        {"Byte", -1, rc::Refused, "La valeur-1 est en-dehors de l'étendue de valeurs valide 0... 255"},
        {"Short", -32768, rc::Ok, ""},
        {"Short", 32768, rc::Refused, "La valeur32768 est en-dehors de l'étendue de valeurs valide -32768... 32767"},
        {"Free", 2147483648.0, rc::Refused,
         "La valeur2147483648 est en-dehors de l'étendue de valeurs valide -2147483648... 2147483647"},
        {"Mask8", 511, rc::Refused, "La valeur511 est en-dehors de l'étendue de valeurs valide 0... 255"},
        {"Mask32", 4294967295.0, rc::Ok, ""},
        {"Mask32", -1, rc::Ok, ""},
        {"Range", 255, rc::Ok, ""},
        {"Gain", 1e30, rc::Ok, ""},
        {"Flag", 7, rc::Ok, ""},
    };
    for (const NumberCase& c : cases) {
        XmlNode node;
        ASSERT_GE(Descr_FindNode(QString::fromLatin1(c.path), description.get(), node), 0) << c.path;
        expectOutcome(c, Check_Width(app, node, c.value));
    }
}

TEST_F(ChecksTest, CheckStringLengthEnumerationAndKinds)
{
    const QString tooLong = QStringLiteral("Paramètre 'Nom du canal': Chaîne de caractères '%1' trop longue. "
                                           "Un maximum de 4 caractères est admis.");
    struct Case {
        const char* path;
        QString value;
        int32_t result;
        QString message;
    };
    const Case cases[] = {
        {"Label", QStringLiteral("abcde"), rc::Refused, tooLong.arg(QStringLiteral("abcde"))},
        {"Label", QStringLiteral("ééééé"), rc::Refused, tooLong.arg(QStringLiteral("ééééé"))},
        {"Label", QStringLiteral("abcd"), rc::Ok, {}},
        {"Label", QStringLiteral("éèàç"), rc::Ok, {}},
        {"Unlimited", QString(300, 'x'), rc::Ok, {}},
        {"NoMaxLen", QString(300, 'x'), rc::Ok, {}},
        {"Mode", QStringLiteral("Arrêt"), rc::Ok, {}},
        {"Mode", QStringLiteral("Mise à l'échelle"), rc::Ok, {}},
        {"Mode", QStringLiteral("Off"), rc::Refused, {}},
        {"Mode", QStringLiteral("Arr"), rc::Refused, {}},
        {"Both", QStringLiteral("1"), rc::NotSupported, {}},
        {"Nothing", QStringLiteral("x"), rc::Failed, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.value.toStdString());
        EXPECT_EQ(Check_String(app, description.get(), QString::fromLatin1(c.path), c.value), c.result);
        if (c.message.isEmpty())
            expectNoMessage();
        else
            expectMessage(c.message, msg::Warning);
    }
}

TEST_F(ChecksTest, CheckStringTakesTheEnumerationTextOfTheUsersLanguage)
{
    app.Language = QStringLiteral("en");
    EXPECT_EQ(Check_String(app, description.get(), QStringLiteral("Mode"), QStringLiteral("Off")), rc::Ok);
    EXPECT_EQ(Check_String(app, description.get(), QStringLiteral("Mode"), QStringLiteral("Arrêt")), rc::Refused);
    EXPECT_EQ(Check_String(app, description.get(), QStringLiteral("Label"), QStringLiteral("abcde")), rc::Refused);
    expectMessage(QStringLiteral("Paramètre 'Channel name': Chaîne de caractères 'abcde' trop longue. "
                                 "Un maximum de 4 caractères est admis."),
                  msg::Warning);
}

}  // namespace
