// The CANopen tools and the TEDS codec: a write and a read of a 4-byte object by the
// SDO terminal's buttons beside a 1 Mbit/s bus model, the PDO window opened on the QSG
// (reading every PDO object), on the in-process CAN net and over virtualcan with
// quelbrin-sim; and the decode and encode of a full 256-byte TEDS block.
#include "Bench.h"
#include "BenchWorld.h"

#include "core/Host.h"
#include "model/teds/TedsCodec.h"
#include "model/teds/TedsMemory.h"
#include "ui/OperationGuard.h"
#include "ui/frmMain.h"
#include "ui/pdo/frmPDO.h"
#include "ui/sdo/SdoTermValues.h"
#include "ui/sdo/frmSDOTerm.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

constexpr double TransferMs = 0.23;   // one expedited SDO transfer at 1 Mbit/s

void reportTransfer(const QString& name, double ms)
{
    report(name, ms, "ms",
           QStringLiteral("1 Mbit/s model %1 ms, measured/model %2").arg(TransferMs, 0, 'f', 3).arg(ms / TransferMs, 0, 'f', 2));
}

// The switching level of the first limit switch (0x2601/3, a 32-bit float the
// amplifier keeps), written and read back by the terminal's buttons.
void benchSdoTerminal(World& world, const QString& bus, long runs)
{
    if (!connectLarger(world)) {
        QTextStream(stderr) << "SDO terminal bench on " << bus << " skipped: no device connected" << Qt::endl;
        return;
    }
    OperationGuard guard;
    frmSDOTerm terminal(world.state(), guard);
    auto* type = terminal.findChild<QComboBox*>(QStringLiteral("ComboDataType"));
    type->setCurrentIndex(type->findData(sdotype::Real32));
    terminal.findChild<QComboBox*>(QStringLiteral("Index"))->setEditText(QStringLiteral("2601"));
    terminal.findChild<QLineEdit*>(QStringLiteral("SubIndex"))->setText(QStringLiteral("3"));
    auto* value = terminal.findChild<QLineEdit*>(QStringLiteral("Datas"));
    auto* answer = terminal.findChild<QLineEdit*>(QStringLiteral("Answer"));
    auto* status = terminal.findChild<QStatusBar*>(QStringLiteral("SBar"));
    auto* send = terminal.findChild<QPushButton*>(QStringLiteral("ctlButtonSend"));
    auto* recv = terminal.findChild<QPushButton*>(QStringLiteral("ctlButtonRecv"));

    const double write = microsecondsPerRun(runs, [&](long i) {
        value->setText(QString::number(i % 100));
        send->click();
    }) / 1000.0;
    const QString written = value->text();
    // The writes leave the device's configuration changed: not stored when it disconnects.
    world.folder.host.answers.push_back(msg::No);
    const QString writeFault = status->toolTip();
    const double read = microsecondsPerRun(runs, [&](long) { recv->click(); }) / 1000.0;
    if (!writeFault.isEmpty() || !status->toolTip().isEmpty() || answer->text() != written)
        QTextStream(stderr) << "SDO terminal bench on " << bus << ": wrote " << written << ", read " << answer->text()
                            << ' ' << writeFault << ' ' << status->toolTip() << Qt::endl;
    reportTransfer(QStringLiteral("SDO terminal write, 4 bytes, %1").arg(bus), write);
    reportTransfer(QStringLiteral("SDO terminal read, 4 bytes, %1").arg(bus), read);
}

// Says so when a PDO object of the open window could not be read (its label stays empty).
void checkPdoReads(const frmPDO& window, const QString& bus)
{
    for (const char* name : {"LabelCurrentPDORecv", "LabelCurrentPDOSend", "LabelCurrentSendPara"})
        for (const QLabel* label : window.findChildren<QLabel*>(QLatin1String(name)))
            if (label->text().isEmpty())
                QTextStream(stderr) << "PDO window bench on " << bus << ": a read for " << name << " failed" << Qt::endl;
}

void benchPdoWindow(World& world, const QString& bus, long runs)
{
    if (!connectLarger(world)) {
        QTextStream(stderr) << "PDO window bench on " << bus << " skipped: no device connected" << Qt::endl;
        return;
    }
    frmMain main(world.state(), nullptr);
    QElapsedTimer timer;
    qint64 opening = 0;
    for (long i = 0; i < runs; ++i) {
        timer.start();
        main.showPdoWindow();
        opening += timer.nsecsElapsed();
        main.CloseDeviceViews();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    main.showPdoWindow();
    auto* window = main.findChild<frmPDO*>(QStringLiteral("frmPDO"));
    if (!window) {
        QTextStream(stderr) << "PDO window bench on " << bus << ": the window did not open" << Qt::endl;
        return;
    }
    const double update = microsecondsPerRun(runs, [&](long) { window->Update(); }) / 1000.0;
    checkPdoReads(*window, bus);
    report(QStringLiteral("PDO window open, %1").arg(bus), double(opening) / 1e6 / double(runs), "ms",
           QStringLiteral("builds its pages, reads every PDO object"));
    report(QStringLiteral("PDO window update, %1").arg(bus), update, "ms", QStringLiteral("reads every PDO object"));
}

// A bridge-sensor TEDS written with the encoder over a full memory of 8 sound pages.
bool tedsBlock(TedsContent& content, QByteArray& block)
{
    constexpr int Pages = 8;
    QByteArray stream(Pages * tedsmemory::PageDataBytes, '\0');
    for (int i = 0; i < stream.size(); ++i)
        stream[i] = char(i * 37 + 11);
    QByteArray image;
    tedsmemory::storeStream(image, stream, Pages);
    content = bridgeSensorContent();
    const std::pair<const char*, const char*> fields[] = {
        {"ManufacturerID", "49"},        {"ModelNumber", "1234"},      {"VersionLetter", "C"},
        {"VersionNumber", "5"},          {"SerialNumber", "11259375"}, {"%BridgeType", "Pont complet"},
        {"%CalDate", "15/03/2024"},      {"%CalInitials", "QBN"},      {"%CalPeriod", "365"},
        {"%MeasID", "1"},
    };
    bool set = true;
    for (const auto& [key, text] : fields)
        set &= content.set(key, QString::fromUtf8(text));
    block = encodeTeds(content, image);
    bool sound = true;
    for (int page = 0; page < Pages; ++page)
        sound &= tedsmemory::pageSound(block, page);
    return set && sound && block.size() == Pages * tedsmemory::PageBytes && decodeTeds(block).content;
}

void benchTeds(long runs)
{
    TedsContent content;
    QByteArray block;
    if (!tedsBlock(content, block)) {
        QTextStream(stderr) << "TEDS bench skipped: the 256-byte block is not sound" << Qt::endl;
        return;
    }
    qsizetype decoded = 0;
    const double decode = microsecondsPerRun(runs, [&](long) { decoded += decodeTeds(block).content->fields.size(); });
    qsizetype encoded = 0;
    const double encode = microsecondsPerRun(runs, [&](long) { encoded += encodeTeds(content, block).size(); });
    if (decoded != runs * content.fields.size() || encoded != runs * block.size())
        QTextStream(stderr) << "TEDS bench: a decode or an encode came out different" << Qt::endl;
    report(QStringLiteral("TEDS decode, 256-byte block (8 pages)"), decode, "us");
    report(QStringLiteral("TEDS encode, 256-byte block (8 pages)"), encode, "us");
}

}  // namespace

void benchTools()
{
    onInProcessCan([](World& world, const QString& bus) {
        benchSdoTerminal(world, bus, 2000);
        benchPdoWindow(world, bus, 50);
    });
    onSimulatorCan(QStringLiteral("SDO terminal and PDO window benches"), [](World& world, const QString& bus) {
        benchSdoTerminal(world, bus, 300);
        benchPdoWindow(world, bus, 10);
    });
    benchTeds(20000);
}
