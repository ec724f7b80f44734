// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AlsaFailure.h"
#include "platform/WaveFormat.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

typedef struct _snd_pcm snd_pcm_t;

// Playback on ALSA's "default" device as one stream that runs from Prepare() to Stop(): a
// worker thread writes silence, and each image into it at the frame that sounds a fixed lead
// after the image was asked for. Onsets then keep the spacing of the requests, whatever cycle
// the sound server runs its graph in (PipeWire's is as long as the ALSA period), and no tone
// starts a stream whose first cycle may come short. Failures return false with errno set; the
// first failure of the worker is kept until the caller takes it for its log.
class TAlsaPlayback
{
public:
    using TTime = std::chrono::steady_clock::time_point;
    // From the request to the first frame: time for the caller's mixer calls before the image
    // is handed over (PipeWire answers each one after its next cycle), and the frames already
    // queued ahead of the one sounding.
    static constexpr std::chrono::milliseconds Lead{160};

    TAlsaPlayback() = default;
    ~TAlsaPlayback();
    TAlsaPlayback(const TAlsaPlayback&) = delete;
    TAlsaPlayback& operator=(const TAlsaPlayback&) = delete;

    // Number of playback devices ALSA knows of.
    static unsigned DeviceCount();
    // Reads the open device's name into the buffer (cut to size, zero-terminated).
    bool ReadDeviceName(char* name, size_t size) const;

    // Opens the device without starting the stream.
    bool Open(const SWaveFormat& format);
    bool IsOpen() const { return m_pcm != nullptr; }
    bool Close();

    // Starts the stream of silence for images of this format, unless it runs already.
    bool Prepare(const SWaveFormat& format);
    // Places a copy of the samples into the stream, to start Lead after the time asked, or as
    // soon as the frames queued allow; an image still sounding ends where the new one starts.
    bool Play(const SWaveData& data, TTime asked);
    // The stream runs: false before Prepare() and once a failure has ended it.
    bool Running() const { return m_worker.joinable() && !m_broken; }
    // Ends the stream at once, dropping what is queued.
    void Stop();
    // The stream's first failure since the last call, as a log text, or empty; the stream may
    // have recovered from it.
    QString TakeFailure();

private:
    struct SImage
    {
        std::vector<uint8_t> samples;
        int64_t start = 0;
        int64_t Frames(size_t blockAlign) const { return int64_t(samples.size() / blockAlign); }
    };

    bool SetHardwareParams(const SWaveFormat& format);
    bool SetSoftwareParams();
    void Stream();
    // Writes up to the queued amount the stream keeps; false on a failure it cannot recover from.
    bool TopUp(std::vector<uint8_t>& chunk);
    // Keeps the failure of the call and sets the stream going again; false when it cannot be.
    bool Recover(const char* call, long error);
    void Render(uint8_t* out, int64_t frames);
    // Learns when frame 0 sounded from the frames the device has taken.
    void Observe(int64_t taken);
    int64_t FramesIn(double seconds) const;
    void Forget();

    snd_pcm_t* m_pcm = nullptr;
    SWaveFormat m_format;
    unsigned long m_bufferFrames = 0;
    std::thread m_worker;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_broken = false;
    // The worker's, passed on as m_failureText.
    TAlsaFailure m_failure;

    // The worker's own: frames written since the stream started, the image sounding and the
    // one waiting for its start, the frames the device had taken at the last look, and the
    // recent guesses (time seen, origin) at when frame 0 sounded.
    int64_t m_written = 0;
    SImage m_current;
    SImage m_next;
    int64_t m_taken = 0;
    std::deque<std::pair<double, double>> m_origins;

    // Shared with the caller.
    std::mutex m_mutex;
    SImage m_handed;
    bool m_hasHanded = false;
    QString m_failureText;
    // Steady-clock seconds at which frame 0 sounded; negative while not known.
    double m_origin = -1;
};
