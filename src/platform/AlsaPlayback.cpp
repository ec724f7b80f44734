// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AlsaPlayback.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned BufferMicroseconds = 200000;
constexpr unsigned PeriodMicroseconds = 50000;
// How long the worker waits at a time before it looks at the stop request again.
constexpr int WaitMilliseconds = 10;
// ALSA reports failures as negative error numbers; callers read them from errno.
bool Check(int result)
{
    if (result >= 0)
        return true;
    errno = -result;
    return false;
}

} // namespace

TAlsaPlayback::~TAlsaPlayback()
{
    Close();
}

unsigned TAlsaPlayback::DeviceCount()
{
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0)
        return 0;
    unsigned count = 0;
    for (void** hint = hints; *hint != nullptr; ++hint) {
        char* direction = snd_device_name_get_hint(*hint, "IOID");
        // No direction means both.
        if (direction == nullptr || std::strcmp(direction, "Output") == 0)
            ++count;
        std::free(direction);
    }
    snd_device_name_free_hint(hints);
    return count;
}

bool TAlsaPlayback::ReadDeviceName(char* name, size_t size) const
{
    if (m_pcm == nullptr || size == 0) {
        errno = EBADF;
        return false;
    }
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_alloca(&info);
    if (!Check(snd_pcm_info(m_pcm, info)))
        return false;
    std::strncpy(name, snd_pcm_info_get_name(info), size - 1);
    name[size - 1] = '\0';
    return true;
}

bool TAlsaPlayback::Open(const SWaveFormat& format)
{
    Close();
    if (!TWaveImage::IsPlayable(format)) {
        errno = EINVAL;
        return false;
    }
    // Non-blocking, so that the worker can notice a stop request while the buffer is full.
    if (!Check(snd_pcm_open(&m_pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK))) {
        m_pcm = nullptr;
        return false;
    }
    if (!SetHardwareParams(format) || !SetSoftwareParams()) {
        const int error = errno;
        Close();
        errno = error;
        return false;
    }
    m_format = format;
    m_ready = true;
    return true;
}

bool TAlsaPlayback::SetHardwareParams(const SWaveFormat& format)
{
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    unsigned bufferTime = BufferMicroseconds;
    unsigned periodTime = PeriodMicroseconds;
    snd_pcm_uframes_t bufferFrames = 0;
    const bool done = Check(snd_pcm_hw_params_any(m_pcm, params)) &&
                      Check(snd_pcm_hw_params_set_rate_resample(m_pcm, params, 1)) &&
                      Check(snd_pcm_hw_params_set_access(m_pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED)) &&
                      Check(snd_pcm_hw_params_set_format(m_pcm, params, SND_PCM_FORMAT_S16_LE)) &&
                      Check(snd_pcm_hw_params_set_channels(m_pcm, params, format.channels)) &&
                      Check(snd_pcm_hw_params_set_rate(m_pcm, params, format.samplesPerSec, 0)) &&
                      Check(snd_pcm_hw_params_set_buffer_time_near(m_pcm, params, &bufferTime, nullptr)) &&
                      Check(snd_pcm_hw_params_set_period_time_near(m_pcm, params, &periodTime, nullptr)) &&
                      Check(snd_pcm_hw_params(m_pcm, params)) &&
                      Check(snd_pcm_hw_params_get_buffer_size(params, &bufferFrames));
    m_bufferFrames = bufferFrames;
    return done;
}

bool TAlsaPlayback::SetSoftwareParams()
{
    snd_pcm_sw_params_t* params = nullptr;
    snd_pcm_sw_params_alloca(&params);
    // Start once the buffer is full: the whole image is at hand, so that is at once, and the
    // device never starts on a thin buffer that might run dry.
    return Check(snd_pcm_sw_params_current(m_pcm, params)) &&
           Check(snd_pcm_sw_params_set_start_threshold(m_pcm, params, m_bufferFrames)) &&
           Check(snd_pcm_sw_params(m_pcm, params));
}

bool TAlsaPlayback::Close()
{
    Stop();
    const bool closed = m_pcm == nullptr || Check(snd_pcm_close(m_pcm));
    m_pcm = nullptr;
    m_format = {};
    m_ready = false;
    return closed;
}

bool TAlsaPlayback::Prepare(const uint8_t* image, size_t size, SWaveData& data)
{
    Stop();
    if (!TWaveImage::ParseWaveImage(image, size, data)) {
        errno = EINVAL;
        return false;
    }
    // A device that cannot be set up again (its sound server went away) is opened anew.
    if (IsOpen() && data.format == m_format && (m_ready || Check(snd_pcm_prepare(m_pcm)))) {
        m_ready = true;
        return true;
    }
    return Open(data.format);
}

bool TAlsaPlayback::Prepare(const uint8_t* image, size_t size)
{
    SWaveData data;
    return Prepare(image, size, data);
}

bool TAlsaPlayback::Play(const uint8_t* image, size_t size)
{
    SWaveData data;
    if (!Prepare(image, size, data))
        return false;
    m_ready = false;
    m_stop = false;
    m_worker = std::thread(&TAlsaPlayback::Feed, this, data.samples, data.size / data.format.blockAlign);
    return true;
}

bool TAlsaPlayback::Stop()
{
    m_stop = true;
    bool played = true;
    if (m_worker.joinable()) {
        m_worker.join();
        played = !m_failure.IsKept();
    }
    if (m_pcm != nullptr && !m_ready)
        snd_pcm_drop(m_pcm);
    return played;
}

void TAlsaPlayback::Feed(const uint8_t* samples, size_t frames)
{
    while (frames > 0 && !m_stop) {
        const snd_pcm_sframes_t written = snd_pcm_writei(m_pcm, samples, frames);
        if (written == -EAGAIN) {
            const int waited = snd_pcm_wait(m_pcm, WaitMilliseconds);
            // An underrun or a suspend found here is met again, and recovered, by the next write.
            if (waited != -EPIPE && waited != -ESTRPIPE && !m_failure.Keep("snd_pcm_wait", waited))
                return;
        } else if (written < 0) {
            m_failure.Keep("snd_pcm_writei", written);
            // Underrun (-EPIPE) or suspend (-ESTRPIPE): recover and go on with the rest.
            if (!m_failure.Keep("snd_pcm_recover", snd_pcm_recover(m_pcm, int(written), 1)))
                return;
        } else {
            samples += size_t(written) * m_format.blockAlign;
            frames -= size_t(written);
        }
    }
    if (m_stop)
        return;
    // An image shorter than the buffer never reaches the start threshold.
    if (snd_pcm_state(m_pcm) == SND_PCM_STATE_PREPARED &&
        !m_failure.Keep("snd_pcm_start", snd_pcm_start(m_pcm)))
        return;
    PlayOut();
    // Set up for the next image now: its start then waits for no round trip to the sound server.
    m_ready = !m_stop && m_failure.Keep("snd_pcm_drop", snd_pcm_drop(m_pcm)) &&
              m_failure.Keep("snd_pcm_prepare", snd_pcm_prepare(m_pcm));
}

void TAlsaPlayback::PlayOut()
{
    while (!m_stop && snd_pcm_state(m_pcm) == SND_PCM_STATE_RUNNING) {
        const snd_pcm_sframes_t available = snd_pcm_avail(m_pcm);
        // Run dry: everything has been played.
        if (available == -EPIPE)
            return;
        if (!m_failure.Keep("snd_pcm_avail", available) || snd_pcm_uframes_t(available) >= m_bufferFrames)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(WaitMilliseconds));
    }
}
