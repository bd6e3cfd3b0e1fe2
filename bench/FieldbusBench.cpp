#include "Bench.h"

#include "core/ResultCodes.h"
#include "device/BusSetup.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimRack.h"
#include "support/TestFolder.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"

#include <QDir>

// One DPV1 and one DeviceNet read of a 4-byte value through the simulated masters
// and the demo rack, transport code included.
void benchFieldbus()
{
    TestFolder world;
    SimRack rack;
    const QString folder = Descr_Folder(world.state.core);
    std::unique_ptr<Description> description;
    if (buildDemoRack(rack, folder) != rc::Ok ||
        Descr_Load(world.state.core, QDir(folder).filePath(QLatin1String(demorack::StrainGaugeFile)), description) !=
            rc::Ok) {
        report("Fieldbus reads: the demo rack does not build", 0, "");
        return;
    }
    Bus_CreateLibraries(world.state, &rack);
    XmlNode node;
    expectSetUp(Descr_FindNode(QStringLiteral("Measurement/ValueNet"), description.get(), node), "finding the value");

    InterfaceSettings card;
    card.InterfaceType = PROFIBUS;
    card.PType = profibus::HilscherMaster;
    float value = 0;
    if (DPV1_OpenCard(world.state, card) < 0 || DPV1_ConnectStation(world.state, card, 3) < 0 ||
        DPV1_ReadFloat(world.state, card, 3, node, value) < 0)
        report("DPV1_ReadFloat fails on the simulated master", 0, "");
    // The timed loops repeat the read just checked.
    const double dpv1 = microsecondsPerRun(20000, [&](long) {
        static_cast<void>(DPV1_ReadFloat(world.state, card, 3, node, value));
    });
    report("DPV1_ReadFloat, simulated master", dpv1, "us/read");

    InterfaceSettings bus;
    bus.InterfaceType = DeviceNet;
    uint8_t classId = 0;
    uint8_t instance = 0;
    uint8_t attribute = 0;
    if (DNET_OpenInterface(world.state, bus) < 0 || DNET_GetAddress(node, classId, instance, attribute) < 0 ||
        DNET_Read4(world.state, 3, classId, instance, attribute, value) != rc::Ok)
        report("DNET_Read4 fails on the simulated master", 0, "");
    const double dnet = microsecondsPerRun(20000, [&](long) {
        static_cast<void>(DNET_Read4(world.state, 3, classId, instance, attribute, value));
    });
    report("DNET_Read4, simulated master", dnet, "us/read");
}
