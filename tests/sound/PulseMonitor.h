// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

inline const QString TestSink = QStringLiteral("kelvarion_test");
constexpr double MonitorRate = 44100;
constexpr int MonitorFrameBytes = 2 * sizeof(float);

inline std::optional<QString> RunPactl(const QStringList& arguments)
{
    QProcess pactl;
    // Numbers and words as the patterns below expect them, whatever the caller's locale.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    pactl.setProcessEnvironment(environment);
    pactl.start(QStringLiteral("pactl"), arguments);
    if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) {
        pactl.kill();
        pactl.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromUtf8(pactl.readAllStandardOutput());
}

// The sink's volume per channel in dB as pactl shows it (to 0.01 dB), -inf for silence, or NaN
// where pactl did not tell; and its raw value (65536 for 0 dB), -1 where pactl did not tell.
struct SSinkVolume
{
    double left = std::nan("");
    double right = std::nan("");
    long rawLeft = -1;
    long rawRight = -1;
};

inline SSinkVolume ReadSinkVolume()
{
    SSinkVolume volume;
    const std::optional<QString> text = RunPactl({QStringLiteral("get-sink-volume"), TestSink});
    if (!text)
        return volume;
    for (const auto& [name, value, raw] : {std::tuple{"front-left", &volume.left, &volume.rawLeft},
                                           {"front-right", &volume.right, &volume.rawRight}}) {
        const QRegularExpression pattern(QLatin1StringView(name) +
                                         QStringLiteral(": (\\d+) / +\\d+% / (-?[0-9.]+|-inf) dB"));
        const QRegularExpressionMatch match = pattern.match(*text);
        if (!match.hasMatch())
            continue;
        *raw = match.captured(1).toLong();
        const QString db = match.captured(2);
        *value = db == QStringLiteral("-inf") ? -std::numeric_limits<double>::infinity() : db.toDouble();
    }
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
