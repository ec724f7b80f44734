// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AlsaFailure.h"
#include "sound/WaveImage.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

typedef struct _snd_pcm snd_pcm_t;

// Asynchronous playback of an in-memory RIFF/WAVE image on ALSA's "default" device: a worker
// thread writes the frames while the caller goes on. The image is read until Stop() returns,
// so the caller keeps it alive until then. Failures return false with errno set; the first
// failure of the worker is kept until the caller takes it for its log.
class TAlsaPlayback
{
public:
    TAlsaPlayback() = default;
    ~TAlsaPlayback();
    TAlsaPlayback(const TAlsaPlayback&) = delete;
    TAlsaPlayback& operator=(const TAlsaPlayback&) = delete;

    // Number of playback devices ALSA knows of.
    static unsigned DeviceCount();
    // Reads the open device's name into the buffer (cut to size, zero-terminated).
    bool ReadDeviceName(char* name, size_t size) const;

    bool Open(const SWaveFormat& format);
    bool IsOpen() const { return m_pcm != nullptr; }
    bool Close();

    // Stops what is playing and sets the device up for images like this one (a header is
    // enough), so that the first of them starts as fast as the rest.
    bool Prepare(const uint8_t* image, size_t size);
    // Stops what is playing, then starts the image.
    bool Play(const uint8_t* image, size_t size);
    // Drops whatever is still queued and waits for the worker to end; false when the last image
    // broke off on a failure.
    bool Stop();
    // The kept failure as a log text, or empty.
    QString TakeFailure() { return m_failure.Take(); }

private:
    bool Prepare(const uint8_t* image, size_t size, SWaveData& data);
    bool SetHardwareParams(const SWaveFormat& format);
    bool SetSoftwareParams();
    void Feed(const uint8_t* samples, size_t frames);
    // Waits while the device plays what it holds, or until a stop is asked for.
    void PlayOut();

    snd_pcm_t* m_pcm = nullptr;
    SWaveFormat m_format;
    unsigned long m_bufferFrames = 0;
    std::thread m_worker;
    std::atomic<bool> m_stop = false;
    // Prepared with nothing queued: the next image can start at once. Like the failure, changed
    // by the worker only and read once it has ended.
    bool m_ready = false;
    TAlsaFailure m_failure;
};
