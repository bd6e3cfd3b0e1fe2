// The recording file: its name, header and data lines byte for byte on each kind of
// interface, two recordings in a row, and a program killed while recording.
#include "device/device_fixture.h"

#include "measure/Measurement.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <clocale>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace devicetest {
namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

// The French locale, as far as the machine has it; the default locale of Qt anyway.
struct FrenchLocale {
    FrenchLocale()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        std::setlocale(LC_ALL, "fr_FR.UTF-8");
    }
    ~FrenchLocale()
    {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
    }
};

TEST(Recording, DataLinesAndFileNames)
{
    const FrenchLocale french;
    const struct {
        double time;
        float value;
        const char* format;
        const char* line;
    } lines[] = {
        {0.5, 12.46f, "0", "0.500\t12"},
        {1.0, 12.46f, "0.000", "1.000\t12.460"},
        {1.5, 12.345f, "0.00", "1.500\t12.35"},
        {2.0, ErrorSample, "", "2.000\t1E+20"},
        {12.5, -0.25f, "0.0", "12.500\t-0.3"},
    };
    for (const auto& c : lines)
        EXPECT_EQ(recordingLine(c.time, c.value, QString::fromLatin1(c.format)), QString::fromLatin1(c.line));

    const QDateTime at(QDate(2024, 3, 7), QTime(9, 5, 1));
    const struct {
        const char* tableName;
        int32_t kind;
        const char* name;
    } names[] = {
        {"Capteur 1", CANBus, "/rec/Capteur_1_3_20240307_090501.tmp"},
        {"", PROFIBUS, "/rec/QSG_2_7_20240307_090501.tmp"},
        {"Capteur 1", RS232, "/rec/Capteur_1_20240307_090501.tmp"},
        {"Capteur 1", DeviceNet, "/rec/Capteur_1_20240307_090501.tmp"},
    };
    for (const auto& c : names) {
        RecordingSource source;
        source.tableName = QString::fromLatin1(c.tableName);
        source.deviceName = "QSG 2";
        source.kind = c.kind;
        source.address = c.kind == CANBus ? 3 : 7;
        EXPECT_EQ(recordingFileName("/rec", source, at), QString::fromLatin1(c.name));
    }
}

// The file on each interface kind: the address line, the value in its format, and a
// second recording that counts and times only its own samples.
TEST_P(KindTest, RecordingFileByteForByte)
{
    const FrenchLocale french;
    const std::map<int32_t, QByteArray> addressLines{
        {CANBus, "CAN-ID = 3\r\n"}, {PROFIBUS, "Adress = 3\r\n"}, {RS232, ""}, {DeviceNet, ""}};
    DeviceEntry& entry = world.connectDevice();
    AppState& state = world.state();
    QTemporaryDir folder;
    state.core.RecordingFilePath = folder.path();
    // The table name, or the device's own when the table has none; blanks become "_".
    const QString fileNamePrefix =
        QString(entry.Name.isEmpty() ? world.element("Common/DeviceName").text() : entry.Name).replace(' ', '_');
    Measurement measurement;
    measurement.tick(state);   // takes in the TEDS state
    world.configure("Scaling/DecimalPointPos", "2");
    world.configure("Scaling/PhysicalUnit", "3");
    world.configure("Common/ChannelName", "Force");
    world.amplifier().stickAt(*world.amplifier().keyOfPath("Measurement/ValueNet"), QByteArray::fromHex("a4704541"));
    const QByteArray head = "ZEM_DATAFILE\r\n[FILEDESCRIPTION]\r\nFILEVERSION = 100\r\nDEVICETYPE = " +
                            world.element("Common/DeviceName").text().toLatin1() + "\r\n\r\n[HEADER]\r\nStartingTime = ";
    const QByteArray rest = "Comment = Quelbrin Assistant measurement\r\nSamples = ";
    const QByteArray tail = "\r\nSerialNumber = " + entry.SerialNumber.toLatin1() + "\r\nDeviceName = " +
                            entry.Name.toLatin1() + "\r\n" + addressLines.at(world.kind()) +
                            "MeasRate = 2 Hz\r\nChannels = 2\r\n\r\n[Channel0]\r\nDigits = 3\r\nUnit = s\r\n"
                            "Name = Time\r\n\r\n[Channel1]\r\nDigits = 2\r\nUnit = kg\r\nName = Force\r\n[DATA]\r\n";

    for (int samples : {3, 1}) {
        SCOPED_TRACE(samples);
        ASSERT_TRUE(measurement.setRecording(state, true));
        const QString temporary = measurement.recording().path();
        for (int i = 0; i < samples; ++i)
            EXPECT_FALSE(measurement.tick(state).stopped);
        const QByteArray running = readAll(temporary);
        EXPECT_FALSE(measurement.setRecording(state, false));
        EXPECT_FALSE(QFile::exists(temporary));
        const QStringList files = filesIn(folder.path());
        ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
        const QString name = files[0];
        const QByteArray stamp = name.right(19).left(15).toLatin1();
        EXPECT_EQ(name.chopped(20), fileNamePrefix + (world.kind() == RS232 ? "" : "_3"));
        EXPECT_TRUE(QRegularExpression("^_\\d{8}_\\d{6}\\.asc$").match(name.right(20)).hasMatch()) << name.toStdString();
        QByteArray data;
        for (int i = 1; i <= samples; ++i)
            data += QByteArray::number(i * 0.5, 'f', 3) + "\t12.34\r\n";
        const QByteArray header = head + stamp + "\r\n" + rest;
        EXPECT_EQ(running, header + tail + data);
        EXPECT_EQ(readAll(folder.filePath(name)), header + QByteArray::number(samples) + tail + data);
        QFile::remove(folder.filePath(name));
    }
}

// The recording folder was removed since it was chosen: it is made again. A final
// file that cannot be written is named, and the samples stay in the ".tmp".
TEST(Recording, AMissingFolderIsMadeAndAnUnwritableFinalFileIsNamed)
{
    DeviceWorld world(RS232);
    world.connectDevice();
    QTemporaryDir folder;
    world.state().core.RecordingFilePath = folder.filePath("removed/since");
    Measurement measurement;
    ASSERT_TRUE(measurement.setRecording(world.state(), true));
    const QString temporary = measurement.recording().path();
    measurement.tick(world.state());
    const QByteArray written = readAll(temporary);
    const QString final = temporary.chopped(4) + ".asc";
    ASSERT_TRUE(QDir().mkdir(final));
    world.host().messages.clear();

    measurement.setRecording(world.state(), false);

    EXPECT_FALSE(measurement.recording().running());
    EXPECT_EQ(world.host().texts(), QStringList{"Erreur lors de l'enregistrement du fichier '" + final + "' !"});
    EXPECT_EQ(readAll(temporary), written);
}

// The ".tmp" cannot be written any more (here: a folder took its name): the recording
// ends with a message naming it, once, and the measurement goes on.
TEST(Recording, ASampleThatCannotBeWrittenEndsTheRecording)
{
    DeviceWorld world(RS232);
    world.connectDevice();
    QTemporaryDir folder;
    world.state().core.RecordingFilePath = folder.path();
    Measurement measurement;
    ASSERT_TRUE(measurement.setRecording(world.state(), true));
    const QString temporary = measurement.recording().path();
    ASSERT_TRUE(QFile::remove(temporary) && QDir().mkdir(temporary));
    world.host().messages.clear();

    const TickOutcome lost = measurement.tick(world.state());
    const TickOutcome next = measurement.tick(world.state());

    EXPECT_TRUE(lost.recordingLost);
    EXPECT_FALSE(lost.stopped || next.stopped || next.recordingLost);
    EXPECT_FALSE(measurement.recording().running());
    EXPECT_EQ(world.host().texts(), QStringList{"Erreur lors de l'enregistrement du fichier '" + temporary + "' !"});
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindTest, ::testing::Values(CANBus, PROFIBUS, RS232),
                         [](const auto& info) { return kindName(info.param); });

// A program killed while it records leaves the ".tmp" with its header and every
// sample written so far.
TEST(Recording, KilledProgramLeavesAReadableTemporaryFile)
{
    QTemporaryDir folder;
    RecordingSource source;
    source.tableName = "Capteur";
    source.kind = RS232;
    source.decimals = 1;
    const QDateTime at(QDate(2024, 3, 7), QTime(9, 5, 1));
    const QString path = recordingFileName(folder.path(), source, at);
    int written[2];
    ASSERT_EQ(pipe(written), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Recording recording;
        if (recording.start(path, source, at))
            for (float value : {1.0f, 2.0f, 3.0f}) {
                recording.advance(0.5);
                recording.append(value, "0.0");
            }
        static_cast<void>(write(written[1], "x", 1));
        pause();
        _exit(0);
    }
    char done = 0;
    ASSERT_EQ(read(written[0], &done, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(written[0]);
    close(written[1]);
    EXPECT_TRUE(WIFSIGNALED(status));

    QByteArray expected;
    for (const QString& line : recordingHeader(source, at))
        expected += line.toLatin1() + "\r\n";
    expected += "0.500\t1.0\r\n1.000\t2.0\r\n1.500\t3.0\r\n";
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(filesIn(folder.path()), QStringList{QFileInfo(path).fileName()});
}

}  // namespace
}  // namespace devicetest
