#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

struct DeviceContext;
class Host;

// What a recording's name and header tell about the device.
struct RecordingSource {
    QString tableName;       // the device table entry's name
    QString deviceName;      // "Common/DeviceName"
    QString channelName;     // "Common/ChannelName"
    QString unit;            // "Scaling/PhysicalUnit" as its text
    int decimals = 0;        // "Scaling/DecimalPointPos"
    QString serialNumber;
    int32_t kind = 0;        // interface kind
    int32_t address = 0;     // CAN node ID or PROFIBUS address
};

RecordingSource recordingSource(const DeviceContext& device);

// folder/name[_address]_yyyymmdd_hhmmss.tmp; blanks of the name become "_".
QString recordingFileName(const QString& folder, const RecordingSource& source, const QDateTime& now);
// The header lines, "ZEM_DATAFILE" to "[DATA]".
QStringList recordingHeader(const RecordingSource& source, const QDateTime& now);
// One data line: the time with three decimals, a tab, the value in its format.
QString recordingLine(double time, float value, const QString& format);

// A recording of measured values: a ".tmp" file that holds the header and every
// sample so far (each sample is written through to the disk at once), finished into
// the ".asc" file with the sample count.
class Recording {
public:
    // Starts a recording into the file (recordingFileName); false when it could not be created.
    bool start(const QString& path, const RecordingSource& source, const QDateTime& now);
    // Appends a sample at the recording time (advanced by advance()); false when the
    // ".tmp" file cannot be written (the recording then ends, the file stays as it is).
    bool append(float value, const QString& format);
    // Finishes the recording: the ".asc" file with the count, the ".tmp" deleted. The
    // final file that could not be written is named (the ".tmp" then stays); "" otherwise.
    QString stop(Host& host);

    void advance(double seconds) { time_ += seconds; }
    bool running() const { return !path_.isEmpty(); }
    const QString& path() const { return path_; }
    double time() const { return time_; }
    int32_t samples() const { return samples_; }

private:
    QString path_;
    double time_ = 0;
    int32_t samples_ = 0;
};
