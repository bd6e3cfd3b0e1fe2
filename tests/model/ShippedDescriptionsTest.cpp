#include "support/QStringPrint.h"
#include "DescriptionText.h"
#include "model/Descriptions.h"
#include "support/TestFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(ShippedDescriptions, EveryOneLoadsAgainstTheShippedSchema)
{
    TestFolder world;
    const QStringList files = QDir(Descr_Folder(world.state.core)).entryList({QStringLiteral("*.xml")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << "no description in " << Descr_Folder(world.state.core).toStdString();
    EXPECT_EQ(Desr_LoadAll(world.state.core, world.state.descriptions), files.size());
    EXPECT_EQ(world.host.texts(), QStringList());
    for (const auto& description : world.state.descriptions) {
        XmlNode node;
        EXPECT_EQ(Descr_FindNode(QStringLiteral("Common/VendorID"), description.get(), node), 0);
        EXPECT_EQ(Descr_FindNode(QStringLiteral("Measurement/ValueNet"), description.get(), node), 0);
    }
}

QByteArray sdo(const char* index, const char* sub)
{
    return QByteArray("<Communication><SDO><Index>") + index + "</Index><Sub>" + sub + "</Sub></SDO></Communication>";
}

TEST(DescriptionSchema, LetsUnreadElementsPassAndRefusesWhatMatters)
{
    using descr::group;
    using descr::member;
    struct Case {
        const char* what;
        QByteArray members;
        bool loads;
    };
    const Case cases[] = {
        {"unknown child of a parameter", member("ParameterValueLong", "A", "<Origin>lab<Site/></Origin>"), true},
        {"unknown child of a group",
         member("ParameterGroup", "G", "<Origin/><Members>" + member("ParameterToggle", "T") + "</Members>"), true},
        {"limits in exponent form",
         member("ParameterValueFloat", "A", "<MinValue>-2e-3</MinValue><MaxValue>1.5E+03</MaxValue>"), true},
        {"limit that is no number", member("ParameterValueFloat", "A", "<MinValue>INF</MinValue>"), false},
        {"limit with a comma", member("ParameterValueFloat", "A", "<MaxValue>1,5</MaxValue>"), false},
        {"unknown kind", member("ParameterFoo", "A"), false},
        {"member without a name", "<ParameterValueLong><Unit>V</Unit></ParameterValueLong>", false},
        {"group without a name", "<ParameterGroup><Members/></ParameterGroup>", false},
        {"member with two names", member("ParameterToggle", "A", "<Name>B</Name>"), false},
        {"duplicate names", member("ParameterToggle", "A") + member("ParameterValueLong", "A"), false},
        {"same name in two groups", group("G", member("ParameterToggle", "A")) + member("ParameterToggle", "A"), true},
        {"duplicate codes",
         member("ParameterEnumString", "E", descr::enumeration({{1, "un", "one"}, {1, "deux", "two"}})), false},
        {"duplicate SDO address",
         member("ParameterToggle", "A", sdo("8192", "1")) +
             group("G", member("ParameterToggle", "B", sdo("8192", "1"))),
         false},
        {"wrongly typed known child", member("ParameterToggle", "A", "<Persistent>oui</Persistent>"), false},
    };
    for (const Case& c : cases) {
        TestFolder world;
        const QString path = world.write(QStringLiteral("d.xml"), descr::document(c.members));
        std::unique_ptr<Description> description;
        EXPECT_EQ(Descr_Load(world.state.core, path, description) == 0, c.loads)
            << c.what << ": " << world.host.texts().join('|').toStdString();
    }
}

}  // namespace
