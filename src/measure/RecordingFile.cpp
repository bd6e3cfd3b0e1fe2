#include "measure/RecordingFile.h"

#include "core/Host.h"
#include "device/DeviceContext.h"
#include "device/present/ParameterText.h"
#include "measure/MeasureTick.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");
constexpr int SamplesLine = 9;   // "Samples = ", counted from 1
constexpr int TickRateHz = 1000 / MeasureTickMs;

QString configured(const DeviceContext& d, const char* path)
{
    return d.parameters.isNull() ? QString() : d.parameters.selectSingle(QLatin1String(path)).text();
}

QString stamp(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyyMMdd")) + '_' + now.toString(QStringLiteral("HHmmss"));
}

// Each line ends in CR LF; characters beyond Latin-1 become "?".
bool appendLines(const QString& path, const QStringList& lines, QIODevice::OpenMode mode = QIODevice::Append)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | mode))
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + LineEnd;
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

RecordingSource recordingSource(const DeviceContext& d)
{
    RecordingSource source;
    source.tableName = d.entry.Name;
    source.deviceName = configured(d, "Common/DeviceName");
    source.channelName = configured(d, "Common/ChannelName");
    source.unit = physicalUnitText(Descr_OfDevice(d.state.descriptions, d.entry), d.parameters, d.state.core.Language);
    source.decimals = configuredDecimals(configured(d, "Scaling/DecimalPointPos"));
    source.serialNumber = d.entry.SerialNumber;
    source.kind = d.entry.InterfaceKind;
    source.address = source.kind == CANBus ? d.entry.NodeId : d.entry.Address;
    return source;
}

QString recordingFileName(const QString& folder, const RecordingSource& source, const QDateTime& now)
{
    QString name = source.tableName.isEmpty() ? source.deviceName : source.tableName;
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (source.kind == CANBus || source.kind == PROFIBUS)
        name += '_' + QString::number(source.address);
    return folder + '/' + name + '_' + stamp(now) + QStringLiteral(".tmp");
}

QStringList recordingHeader(const RecordingSource& source, const QDateTime& now)
{
    QStringList lines{QStringLiteral("ZEM_DATAFILE"),
                      QStringLiteral("[FILEDESCRIPTION]"),
                      QStringLiteral("FILEVERSION = 100"),
                      QStringLiteral("DEVICETYPE = ") + source.deviceName,
                      QString(),
                      QStringLiteral("[HEADER]"),
                      QStringLiteral("StartingTime = ") + stamp(now),
                      QStringLiteral("Comment = Quelbrin Assistant measurement"),
                      QStringLiteral("Samples = "),
                      QStringLiteral("SerialNumber = ") + source.serialNumber,
                      QStringLiteral("DeviceName = ") + source.tableName};
    if (source.kind == CANBus)
        lines << QStringLiteral("CAN-ID = ") + QString::number(source.address);
    else if (source.kind == PROFIBUS)
        lines << QStringLiteral("Adress = ") + QString::number(source.address);
    lines << QStringLiteral("MeasRate = %1 Hz").arg(TickRateHz) << QStringLiteral("Channels = 2") << QString()
          << QStringLiteral("[Channel0]") << QStringLiteral("Digits = 3") << QStringLiteral("Unit = s")
          << QStringLiteral("Name = Time") << QString() << QStringLiteral("[Channel1]")
          << QStringLiteral("Digits = ") + QString::number(source.decimals) << QStringLiteral("Unit = ") + source.unit
          << QStringLiteral("Name = ") + source.channelName << QStringLiteral("[DATA]");
    return lines;
}

QString recordingLine(double time, float value, const QString& format)
{
    QString line = formatValue(time, QStringLiteral("0.000")) + '\t' + formatValue(value, format);
    return line.replace(QLatin1Char(','), QLatin1Char('.'));
}

bool Recording::start(const QString& path, const RecordingSource& source, const QDateTime& now)
{
    // The configured folder may have been removed since it was chosen.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    if (!appendLines(path, recordingHeader(source, now), QIODevice::Truncate))
        return false;
    path_ = path;
    time_ = 0;
    samples_ = 0;
    return true;
}

bool Recording::append(float value, const QString& format)
{
    if (!running())
        return true;
    if (!appendLines(path_, {recordingLine(time_, value, format)})) {
        path_.clear();
        return false;
    }
    ++samples_;
    return true;
}

QString Recording::stop(Host& host)
{
    if (!running())
        return {};
    const QString temporary = path_;
    path_.clear();
    QFile source(temporary);
    if (temporary.size() < 4 || !source.open(QIODevice::ReadOnly))
        return {};
    const QString final = temporary.chopped(4) + QStringLiteral(".asc");
    QFile::remove(final);
    host.setStatusText(QStringLiteral("Copier fichier d'enregistrement..."));
    QList<QByteArray> lines = source.readAll().split('\n');
    source.close();
    if (lines.size() >= SamplesLine)
        lines[SamplesLine - 1].replace("\r", QByteArray::number(samples_) + '\r');
    QFile target(final);
    const bool written = target.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         target.write(lines.join('\n')) >= 0 && target.flush();
    if (written)
        QFile::remove(temporary);
    host.setStatusText(QString());
    return written ? QString() : final;
}
