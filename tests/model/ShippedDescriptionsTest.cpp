#include "support/QStringPrint.h"
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

}  // namespace
