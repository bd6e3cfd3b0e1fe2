#include "DescriptionText.h"

#include "core/AppCore.h"
#include "core/DeviceEntry.h"
#include "core/ResultCodes.h"
#include "model/ParameterLog.h"
#include "support/TestFolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(LogWriteParameterError, SdoAddressOnlyForCanDevices)
{
    TestFolder world;
    AppCore& app = world.state.core;
    const auto description = descr::make(
        descr::member("ParameterValueLong", "Zero",
                      descr::texts("Zéro", "Zero") +
                          "<Communication><SDO><Index>24832</Index><Sub>1</Sub></SDO></Communication>") +
        descr::member("ParameterValueLong", "Plain", descr::texts("Sans adresse", "No address")));
    XmlNode zero;
    XmlNode plain;
    ASSERT_EQ(Descr_FindNode(QStringLiteral("Zero"), description.get(), zero), rc::Ok);
    ASSERT_EQ(Descr_FindNode(QStringLiteral("Plain"), description.get(), plain), rc::Ok);
    const QString logPath = GetAppDataFolder(app) + QStringLiteral("/Quelbrin Assistant.log");

    DeviceEntry device;
    device.SerialNumber = QStringLiteral("0815");
    device.InterfaceKind = CANBus;
    device.NodeId = 12;
    Log_WriteParameterError(app, device, zero, QStringLiteral("closed"));
    EXPECT_FALSE(QFile::exists(logPath));

    Log_Open(app, true);
    Log_WriteParameterError(app, device, zero, QStringLiteral("Erreur A"));
    Log_WriteParameterError(app, device, plain, QStringLiteral("Erreur B"));
    device.InterfaceKind = RS232;
    Log_WriteParameterError(app, device, zero, QStringLiteral("Erreur C"));
    device.InterfaceKind = DeviceNet;
    device.MacId = 9;
    Log_WriteParameterError(app, device, zero, QStringLiteral("Erreur D"));
    Log_Open(app, false);

    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"));
    const QStringList tails = {
        QStringLiteral(", CAN-ID 12, Snr. 0815, Paramètre 'Zéro', Index SDO24832, Sous-index SDO 1: Erreur A"),
        QStringLiteral(", CAN-ID 12, Snr. 0815, Paramètre 'Sans adresse', Index SDO0, Sous-index SDO 0: Erreur B"),
        QStringLiteral(", Snr. 0815, Paramètre 'Zéro': Erreur C"),
        QStringLiteral(", Adr 9, Snr. 0815, Paramètre 'Zéro': Erreur D"),
        QString(),
    };
    ASSERT_EQ(lines.size(), tails.size()) << lines.join('|').toStdString();
    for (qsizetype i = 0; i + 1 < tails.size(); ++i) {
        EXPECT_TRUE(lines[i].endsWith(tails[i])) << lines[i].toStdString();
        EXPECT_GT(lines[i].size(), tails[i].size()) << "date and time come first";
    }
}

}  // namespace
