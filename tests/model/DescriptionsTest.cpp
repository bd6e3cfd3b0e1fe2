#include "DescriptionText.h"

#include "core/DeviceEntry.h"
#include "core/ResultCodes.h"

#include <gtest/gtest.h>

namespace {

using descr::group;
using descr::member;
using descr::texts;

const QByteArray kValueNet =
    member("ParameterValueLong", "ValueNet",
           texts("Valeur nette", "Net value", "Nettowert") +
               "<Help><TopicID>120</TopicID>" + texts("Aide de la valeur nette", "Net value help") +
               "</Help>");

std::unique_ptr<Description> measuringDescription()
{
    return descr::make(
        group("Measurement",
              kValueNet + member("ParameterValueLong", "ValueGros", texts("", "Gross value")) +
                  member("ParameterValueLong", "Status",
                         "<Description><fr></fr><en>Status word</en></Description>"
                         "<Help>" + texts("Aide", "Help") + "</Help>")) +
        group("DigitalIO", member("ParameterBitMask", "InputOutputLevel", texts("Niveau E/S", "I/O level"))) +
        member("ParameterValueFloat", "Zero", texts("Zéro à l'échelle", "Zero")));
}

class DescrFindNodeTest : public testing::Test {
protected:
    std::unique_ptr<Description> description = measuringDescription();

    XmlNode find(const QString& path, int32_t expected = rc::Ok)
    {
        XmlNode node;
        EXPECT_EQ(Descr_FindNode(path, description.get(), node), expected) << path.toStdString();
        return node;
    }
};

TEST_F(DescrFindNodeTest, SpellingsOfOnePathResolveToTheSameMember)
{
    const XmlNode valueNet = find(QStringLiteral("Measurement/ValueNet"));
    ASSERT_FALSE(valueNet.isNull());
    EXPECT_EQ(valueNet.name(), QStringLiteral("ParameterValueLong"));
    EXPECT_EQ(valueNet.childText("Name"), QStringLiteral("ValueNet"));
    EXPECT_EQ(valueNet.parent().parent().childText("Name"), QStringLiteral("Measurement"));

    for (const char* path : {"./Measurement/ValueNet", "Measurement/./ValueNet",
                             "Measurement/ValueNet[Index = 1]", "Measurement/ValueNet [Index = 1]",
                             "Measurement [Kind = 2]/ValueNet",
                             "Measurement/ValueNet"})
        EXPECT_EQ(find(QString::fromLatin1(path)), valueNet) << path;

    XmlNode direct;
    EXPECT_EQ(Descr_FindNode(QStringLiteral("./Measurement/ValueNet[Index = 1]"), description->root(), direct),
              rc::Ok);
    EXPECT_EQ(direct, valueNet);
}

TEST_F(DescrFindNodeTest, UnresolvedPathsGiveMinus8)
{
    for (const char* path : {"Nothing/ValueNet", "Measurement/Nothing", "ValueNet", "Measurement/ValueNet/Name",
                             "Description", "Measurement/Description", ""}) {
        EXPECT_TRUE(find(QString::fromLatin1(path), rc::UnknownInDescription).isNull()) << path;
        // Asked again: a failure is not remembered as a node.
        EXPECT_TRUE(find(QString::fromLatin1(path), rc::UnknownInDescription).isNull()) << path;
    }
    XmlNode node;
    EXPECT_EQ(Descr_FindNode(QStringLiteral("Zero"), XmlNode(), node), rc::UnknownInDescription);
    EXPECT_EQ(Descr_FindNode(QStringLiteral("Zero"), static_cast<const Description*>(nullptr), node),
              rc::UnknownInDescription);
}

TEST_F(DescrFindNodeTest, RememberedNodesMatchTheTree)
{
    for (const char* path : {"Zero", "DigitalIO/InputOutputLevel", "Measurement/Status", "Measurement"}) {
        XmlNode fromTree;
        ASSERT_EQ(Descr_FindNode(QString::fromLatin1(path), description->root(), fromTree), rc::Ok) << path;
        EXPECT_EQ(find(QString::fromLatin1(path)), fromTree) << path;
        EXPECT_EQ(find(QString::fromLatin1(path)), fromTree) << path;
    }
    EXPECT_NE(find(QStringLiteral("Measurement/ValueNet")), find(QStringLiteral("Measurement/ValueGros")));
    EXPECT_EQ(find(QStringLiteral(".")), description->root());
    EXPECT_EQ(find(QStringLiteral(".")), description->root());
}

TEST(DescrStripPredicates, CutsEverySegmentAtItsBracket)
{
    EXPECT_EQ(Descr_StripPredicates(QStringLiteral("PDO/Send[Index = 1]/Map[Sub = 2]/CANId")),
              QStringLiteral("PDO/Send/Map/CANId"));
    EXPECT_EQ(Descr_StripPredicates(QStringLiteral("PDO/Send [Index = 1]/CANId")), QStringLiteral("PDO/Send/CANId"));
    EXPECT_EQ(Descr_StripPredicates(QStringLiteral("Measurement/ValueNet")), QStringLiteral("Measurement/ValueNet"));
}

TEST(DescrGetText, PicksTheLanguageAndFallsBackToEnglish)
{
    const auto description = measuringDescription();
    struct Case {
        const char* path;
        const char* language;
        QString expected;
    };
    const Case cases[] = {
        {"Measurement/ValueNet", "fr", QStringLiteral("Valeur nette")},
        {"Measurement/ValueNet", "de", QStringLiteral("Nettowert")},
        {"Measurement/ValueNet", "en", QStringLiteral("Net value")},
        {"Measurement/ValueNet", "it", QStringLiteral("Net value")},
        {"Measurement/ValueGros", "fr", QStringLiteral("Gross value")},
        {"Measurement/Status", "fr", QStringLiteral("Status word")},
        {"Zero", "fr", QStringLiteral("Zéro à l'échelle")},
        {"DigitalIO", "fr", QString()},
    };
    for (const Case& c : cases) {
        XmlNode node;
        ASSERT_EQ(Descr_FindNode(QString::fromLatin1(c.path), description.get(), node), rc::Ok);
        EXPECT_EQ(Descr_GetText(node, QString::fromLatin1(c.language)), c.expected) << c.path << " " << c.language;
    }
}

TEST(DescrGetHelp, TextAndTopicOfTheHelpChild)
{
    const auto description = measuringDescription();
    struct Case {
        const char* path;
        QString text;
        int32_t topic;
    };
    const Case cases[] = {
        {"Measurement/ValueNet", QStringLiteral("Aide de la valeur nette"), 120},
        {"Measurement/Status", QStringLiteral("Aide"), -1},
        {"Measurement/ValueGros", QString(), -1},
    };
    for (const Case& c : cases) {
        XmlNode node;
        ASSERT_EQ(Descr_FindNode(QString::fromLatin1(c.path), description.get(), node), rc::Ok);
        EXPECT_EQ(Descr_GetHelpText(node, QStringLiteral("fr")), c.text) << c.path;
        EXPECT_EQ(Descr_GetHelpTopic(node), c.topic) << c.path;
    }
}

TEST(DescrHasDigitalIO, OnlyForADescriptionThatResolvesTheLevel)
{
    Descriptions descriptions;
    descriptions.push_back(measuringDescription());
    descriptions.push_back(descr::make(kValueNet));
    DeviceEntry entry;
    for (const auto& [index, expected] : {std::pair{0, true}, {1, false}, {2, false}, {-1, false}}) {
        entry.DescriptionIndex = index;
        EXPECT_EQ(Descr_HasDigitalIO(descriptions, entry), expected) << index;
    }
}

}  // namespace
