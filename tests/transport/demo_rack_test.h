#pragma once
#include "core/ResultCodes.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimRack.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <memory>

// The demo rack (QSG2 at 3, QSN2 at 17, QSG2 at 42) and the QSG2 description, for the
// tests of a fieldbus whose simulated master serves the rack.
class DemoRackTest : public ::testing::Test {
protected:
    DemoRackTest()
    {
        const QString folder = Descr_Folder(world.state.core);
        EXPECT_EQ(buildDemoRack(rack, folder), rc::Ok);
        EXPECT_EQ(Descr_Load(world.state.core, QDir(folder).filePath(QLatin1String(demorack::StrainGaugeFile)),
                             description),
                  rc::Ok);
    }

    XmlNode parameter(const QString& path) const
    {
        XmlNode node;
        EXPECT_EQ(Descr_FindNode(path, description.get(), node), rc::Ok) << path.toStdString();
        return node;
    }

    // The bytes the amplifier at the node holds for the path.
    QByteArray stored(const QString& path, uint8_t node) const
    {
        const auto entry = rack.node(node)->entryByPath(path);
        return entry ? entry->value : QByteArray("<none>");
    }

    TestFolder world;
    SimRack rack;
    std::unique_ptr<Description> description;
};
