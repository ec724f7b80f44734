#pragma once

// The private PulseAudio server of the audio tests, seen from outside the program: its null
// sink's monitor recorded with parec, and the sink's volume read and set with pactl. Every
// wait has a deadline.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <cstring>
#include <optional>
#include <vector>

inline const QString TestSink = QStringLiteral("kelvarion_test");
constexpr double MonitorRate = 44100;
constexpr int MonitorFrameBytes = 2 * sizeof(float);

inline std::optional<QString> RunPactl(const QStringList& arguments)
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), arguments);
    if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) {
        pactl.kill();
        pactl.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromUtf8(pactl.readAllStandardOutput());
}

struct SSinkVolume
{
    int left = -1;
    int right = -1;
    bool operator==(const SSinkVolume&) const = default;
};

// The sink's raw volumes (65536 is 100 %), or -1 where pactl did not tell.
inline SSinkVolume ReadSinkVolume()
{
    SSinkVolume volume;
    const std::optional<QString> text = RunPactl({QStringLiteral("get-sink-volume"), TestSink});
    if (!text)
        return volume;
    const QRegularExpression left(QStringLiteral("front-left: (\\d+) /"));
    const QRegularExpression right(QStringLiteral("front-right: (\\d+) /"));
    if (const auto match = left.match(*text); match.hasMatch())
        volume.left = match.captured(1).toInt();
    if (const auto match = right.match(*text); match.hasMatch())
        volume.right = match.captured(1).toInt();
    return volume;
}

inline std::optional<bool> ReadSinkMute()
{
    const std::optional<QString> text = RunPactl({QStringLiteral("get-sink-mute"), TestSink});
    if (!text)
        return std::nullopt;
    return text->contains(QStringLiteral("yes"));
}

// Records the monitor of the test sink as 32-bit float stereo frames.
class TMonitorRecorder
{
public:
    TMonitorRecorder()
    {
        QObject::connect(&m_parec, &QProcess::readyReadStandardOutput, &m_parec,
                         [this] { m_data.append(m_parec.readAllStandardOutput()); });
    }
    ~TMonitorRecorder() { Stop(); }
    TMonitorRecorder(const TMonitorRecorder&) = delete;
    TMonitorRecorder& operator=(const TMonitorRecorder&) = delete;

    // True once the recording runs and delivers frames. From then on the frames are collected
    // whenever the caller waits here or runs the event loop.
    bool Start()
    {
        m_data.clear();
        m_parec.start(QStringLiteral("parec"),
                      {QStringLiteral("--device=") + TestSink + QStringLiteral(".monitor"),
                       QStringLiteral("--latency-msec=200"), QStringLiteral("--format=float32le"),
                       QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                       QStringLiteral("--raw")});
        return m_parec.waitForStarted(5000) && RecordFor(0.3);
    }

    // Goes on recording until this many more seconds have arrived.
    bool RecordFor(double seconds)
    {
        const qsizetype target = m_data.size() + qsizetype(seconds * MonitorRate) * MonitorFrameBytes;
        QElapsedTimer clock;
        clock.start();
        const qint64 deadline = qint64(seconds * 1000) * 2 + 3000;
        while (m_data.size() < target && clock.elapsed() < deadline && m_parec.state() == QProcess::Running) {
            m_parec.waitForReadyRead(100);
        }
        return m_data.size() >= target;
    }

    void Stop()
    {
        if (m_parec.state() == QProcess::NotRunning)
            return;
        m_parec.terminate();
        if (!m_parec.waitForFinished(3000)) {
            m_parec.kill();
            m_parec.waitForFinished(1000);
        }
    }

    size_t FrameCount() const { return size_t(m_data.size() / MonitorFrameBytes); }

    std::vector<double> Channel(int channel) const
    {
        std::vector<double> samples(FrameCount());
        for (size_t i = 0; i < samples.size(); ++i) {
            float value = 0;
            std::memcpy(&value, m_data.constData() + i * MonitorFrameBytes + channel * sizeof(float),
                        sizeof value);
            samples[i] = value;
        }
        return samples;
    }

private:
    QProcess m_parec;
    QByteArray m_data;
};
