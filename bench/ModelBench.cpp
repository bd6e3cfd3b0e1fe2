#include "Bench.h"

#include "core/ResultCodes.h"
#include "device/AppInit.h"
#include "model/Descriptions.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>

namespace {

// A description of groups x subgroups x parameters members, paths "G<g>/S<s>/P<p>".
QByteArray generatedDescription(int groups, int subgroups, int parameters)
{
    QByteArray xml = "<DeviceDescription><ParameterGroup><Members>";
    for (int g = 0; g < groups; ++g) {
        xml += "<ParameterGroup><Name>G" + QByteArray::number(g) + "</Name><Members>";
        for (int s = 0; s < subgroups; ++s) {
            xml += "<ParameterGroup><Name>S" + QByteArray::number(s) + "</Name><Members>";
            for (int p = 0; p < parameters; ++p)
                xml += "<ParameterValueLong><Name>P" + QByteArray::number(p) +
                       "</Name><Unit>N</Unit><MinValue>0</MinValue></ParameterValueLong>";
            xml += "</Members></ParameterGroup>";
        }
        xml += "</Members></ParameterGroup>";
    }
    return xml + "</Members></ParameterGroup></DeviceDescription>";
}

void benchFindNode()
{
    auto document = std::make_unique<XmlDocument>();
    document->loadFromMemory(generatedDescription(20, 10, 10), nullptr);
    const XmlNode root = document->documentElement().child("ParameterGroup");
    Description description(std::move(document), root);
    QStringList paths;
    for (int i = 0; i < 2000; ++i)
        paths << QStringLiteral("G%1/S%2/P%3").arg(i % 20).arg((i / 20) % 10).arg(i % 10);

    XmlNode node;
    // Every path is in the generated description: the lookups only measure.
    const double uncached = microsecondsPerRun(2000, [&](long i) {
        static_cast<void>(Descr_FindNode(paths[i], root, node));
    });
    report("Descr_FindNode, 3 segments, 2000 parameters, walk", uncached, "us/lookup");
    const double cached = microsecondsPerRun(200000, [&](long i) {
        static_cast<void>(Descr_FindNode(paths[i % 2000], &description, node));
    });
    report("Descr_FindNode, 3 segments, 2000 parameters, resolved", cached, "us/lookup", "goal < 5");
}

void collectPaths(XmlNode group, const QString& prefix, QStringList& paths)
{
    for (XmlNode member : group.child("Members").elementChildren()) {
        const QString path = prefix + member.childText("Name");
        paths << path;
        if (member.name() == QLatin1String("ParameterGroup"))
            collectPaths(member, path + '/', paths);
    }
}

void benchShippedWalk()
{
    TestFolder world;
    expectSetUp(App_Init(world.state), "App_Init");
    const Description* largest = nullptr;
    QStringList paths;
    for (const auto& description : world.state.descriptions) {
        QStringList candidate;
        collectPaths(description->root(), QString(), candidate);
        if (candidate.size() > paths.size()) {
            paths = candidate;
            largest = description.get();
        }
    }
    if (!largest)
        return;
    XmlNode node;
    // The paths were collected from the description itself.
    const double first = microsecondsPerRun(1, [&](long) {
        for (const QString& path : paths)
            static_cast<void>(Descr_FindNode(path, largest, node));
    });
    const double again = microsecondsPerRun(100, [&](long) {
        for (const QString& path : paths)
            static_cast<void>(Descr_FindNode(path, largest, node));
    });
    report(QStringLiteral("walk of %1 members, first pass").arg(paths.size()), first, "us/walk");
    report(QStringLiteral("walk of %1 members, later passes").arg(paths.size()), again, "us/walk");
}

void benchAppInit()
{
    TestFolder world;
    const QString folder = world.file(QStringLiteral("program"));
    QDir().mkpath(folder + QStringLiteral("/DeviceDescription"));
    const QDir shipped(TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription"));
    QFile::copy(shipped.filePath(QStringLiteral("DevDescr.xsd")),
                folder + QStringLiteral("/DeviceDescription/DevDescr.xsd"));
    const QStringList sources = shipped.entryList({QStringLiteral("*.xml")});
    if (sources.isEmpty())
        return;
    for (int i = 0; i < 20; ++i)
        QFile::copy(shipped.filePath(sources[i % sources.size()]),
                    folder + QStringLiteral("/DeviceDescription/d%1.xml").arg(i, 2, 10, QChar('0')));
    world.state.core.programFolder = folder;
    int32_t loaded = 0;
    const double us = microsecondsPerRun(1, [&](long) {
        AppState state;
        state.core.host = &world.host;
        state.core.programFolder = folder;
        state.core.instanceKey = world.state.core.instanceKey + QStringLiteral("-init");
        expectSetUp(App_Init(state), "App_Init");
        loaded = int32_t(state.descriptions.size());
    });
    report(QStringLiteral("App_Init with %1 description files").arg(loaded), us / 1000.0, "ms");
}

}  // namespace

void benchModel()
{
    benchFindNode();
    benchShippedWalk();
    benchAppInit();
}
