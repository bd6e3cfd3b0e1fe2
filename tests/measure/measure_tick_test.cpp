// One measurement tick: what it reads, shows and says when a read fails.
#include "device/device_fixture.h"

#include "core/Host.h"
#include "device/DeviceContext.h"
#include "measure/MeasureTick.h"
#include "model/Configuration.h"
#include "transport/ErrorText.h"
#include "transport/can/lib/SdoAbortCodes.h"

namespace devicetest {
namespace {

const QString Stopped = QStringLiteral("\r\nLa mesure est arrêtée !");

TEST(MeasureTick, ShowsTheStandardSignalOrStopsWithTheFailedRead)
{
    const struct {
        const char* name;
        double input;
        int16_t standardSignal;
        const char* refused;     // a path the amplifier refuses to read, or null
        const char* decimals;
        float value;
        const char* text;
        const char* message;     // the message before the failed read's code and words; null: none
    } cases[] = {
        {"net with its decimals and unit", 1.23456, 1, nullptr, "3", 1.23456f, "1.235 mV/V", nullptr},
        {"gross without decimals", 1.23456, 0, "Measurement/ValueNet", "0", 1.23456f, "1 mV/V", nullptr},
        {"error status", 3.0, 1, "Measurement/ValueNet", "3", ErrorSample, "Erreur", nullptr},
        {"status unread", 1.0, 1, "Measurement/StatusShort", "3", 0, "", "Erreur de lecture: Measurement/StatusShort "},
        {"value unread", 1.0, 1, "Measurement/ValueNet", "3", 0, "", "Measurement/ValueNet Erreur de lecture: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceWorld world(CANBus);
        DeviceEntry& entry = world.connectDevice();
        world.configure(QStringLiteral("Scaling/DecimalPointPos"), QString::fromLatin1(c.decimals));
        world.state().core.StandardSignal = c.standardSignal;
        SimAmplifier& amplifier = world.amplifier();
        amplifier.setSignalSettings({c.input, 0.0, 20000.0, 0.0, 2.0});
        if (c.refused)
            amplifier.refuseAt(SimDirection::Read, *amplifier.keyOfPath(QString::fromLatin1(c.refused)),
                               sdoabort::General);
        DeviceContext device{world.state(), world.settings(), entry,
                             Conf_Parameters(world.state().Configuration.get())};

        const TickDisplay shown = measureTick(device);

        EXPECT_EQ(shown.text, QString::fromUtf8(c.text));
        EXPECT_EQ(shown.value, c.value);
        if (!c.message) {
            EXPECT_EQ(shown.result, rc::Ok);
            EXPECT_TRUE(world.host().texts().isEmpty()) << world.host().texts().join('\n').toStdString();
            continue;
        }
        ASSERT_LT(shown.result, 0);
        const QString path = QString::fromLatin1(c.refused);
        const QString code = path.endsWith("StatusShort") ? QString() : QString::number(shown.result) + ' ';
        ASSERT_EQ(world.host().messages.size(), 1u);
        EXPECT_EQ(world.host().messages[0].text,
                  QString::fromUtf8(c.message) + code +
                      ErrorText(world.state(), world.settings(), entry, shown.result, path) + Stopped);
        EXPECT_EQ(world.host().messages[0].style, msg::Error);
    }
}

}  // namespace
}  // namespace devicetest
