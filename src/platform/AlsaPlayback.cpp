// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AlsaPlayback.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr unsigned BufferMicroseconds = 200000;
constexpr unsigned PeriodMicroseconds = 50000;
// What the stream keeps queued: more than one of the server's cycles, in which it takes frames
// all at once (PipeWire's took 4096 frames, 93 ms at 44100 Hz, in the tests' server).
constexpr double QueuedSeconds = 0.1;
constexpr auto WakeInterval = std::chrono::milliseconds(2);
// The guess at when frame 0 sounded is the earliest of this many seconds, which the two clocks
// drifting apart leave close to the latest.
constexpr double OriginWindowSeconds = 2.0;

double Seconds(TAlsaPlayback::TTime time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

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
    if (!format.IsPlayable()) {
        errno = EINVAL;
        return false;
    }
    // Non-blocking: the worker writes only what fits, and waits with a timeout.
    if (!Check(snd_pcm_open(&m_pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK))) {
        m_pcm = nullptr;
        return false;
    }
    m_format = format;
    if (!SetHardwareParams(format) || !SetSoftwareParams()) {
        const int error = errno;
        Close();
        errno = error;
        return false;
    }
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
    // Starts with the first frames written: they are silence, so a thin start cannot cut a tone.
    return Check(snd_pcm_sw_params_current(m_pcm, params)) &&
           Check(snd_pcm_sw_params_set_start_threshold(m_pcm, params, 1)) &&
           Check(snd_pcm_sw_params(m_pcm, params));
}

bool TAlsaPlayback::Close()
{
    Stop();
    const bool closed = m_pcm == nullptr || Check(snd_pcm_close(m_pcm));
    m_pcm = nullptr;
    m_format = {};
    return closed;
}

bool TAlsaPlayback::Prepare(const SWaveFormat& format)
{
    if (Running() && format == m_format)
        return true;
    Stop();
    // A device that cannot be set up again (its sound server went away) is opened anew.
    if (!(IsOpen() && format == m_format && Check(snd_pcm_prepare(m_pcm))) && !Open(format))
        return false;
    m_stop = false;
    m_broken = false;
    m_worker = std::thread(&TAlsaPlayback::Stream, this);
    return true;
}

bool TAlsaPlayback::Play(const SWaveData& data, TTime asked)
{
    if (!Prepare(data.format))
        return false;
    const double due = Seconds(asked + Lead);
    std::lock_guard lock(m_mutex);
    m_handed.samples.assign(data.samples, data.samples + data.size);
    // Unknown until the device has played a first frame: then as soon as it can.
    m_handed.start = m_origin < 0 ? 0 : FramesIn(due - m_origin);
    m_hasHanded = true;
    return true;
}

void TAlsaPlayback::Stop()
{
    m_stop = true;
    if (m_worker.joinable()) {
        m_worker.join();
        if (m_pcm != nullptr)
            snd_pcm_drop(m_pcm);
    }
    Forget();
    m_current = {};
    m_next = {};
    m_written = 0;
    std::lock_guard lock(m_mutex);
    m_hasHanded = false;
    m_handed = {};
}

QString TAlsaPlayback::TakeFailure()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_failureText, {});
}

void TAlsaPlayback::Stream()
{
    std::vector<uint8_t> chunk;
    while (!m_stop) {
        const bool goesOn = TopUp(chunk);
        if (m_failure.IsKept()) {
            const QString text = m_failure.Take();
            std::lock_guard lock(m_mutex);
            if (m_failureText.isEmpty())
                m_failureText = text;
        }
        if (!goesOn) {
            m_broken = true;
            return;
        }
        // Each server cycle is seen taken at most this late, and the earliest look of a few
        // seconds much less; a shorter sleep only costs processor time. Waiting on the device
        // would not do: PipeWire's plugin wakes its waiters at once.
        std::this_thread::sleep_for(WakeInterval);
    }
}

bool TAlsaPlayback::TopUp(std::vector<uint8_t>& chunk)
{
    const snd_pcm_sframes_t available = snd_pcm_avail_update(m_pcm);
    if (available < 0)
        return Recover("snd_pcm_avail_update", available);
    const auto queued = int64_t(m_bufferFrames) - available;
    Observe(m_written - queued);
    const int64_t wanted = FramesIn(QueuedSeconds) - queued;
    if (wanted <= 0)
        return true;
    chunk.resize(size_t(wanted) * m_format.blockAlign);
    Render(chunk.data(), wanted);
    const snd_pcm_sframes_t written = snd_pcm_writei(m_pcm, chunk.data(), snd_pcm_uframes_t(wanted));
    if (written == -EAGAIN)
        return true;
    if (written < 0)
        return Recover("snd_pcm_writei", written);
    // A short write leaves the rest to the next top-up, which renders from the first frame not taken.
    m_written += written;
    return true;
}

bool TAlsaPlayback::Recover(const char* call, long error)
{
    m_failure.Keep(call, error);
    // Underrun (-EPIPE) or suspend (-ESTRPIPE): the stream starts again, on a new timeline.
    Forget();
    return m_failure.Keep("snd_pcm_recover", snd_pcm_recover(m_pcm, int(error), 1));
}

void TAlsaPlayback::Render(uint8_t* out, int64_t frames)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_hasHanded) {
            m_next = std::move(m_handed);
            m_hasHanded = false;
            // Late, or asked for before the device played: as soon as it can. A start far
            // beyond the lead comes only from a timeline that changed: then at once, too.
            const int64_t latest = m_written + FramesIn(std::chrono::duration<double>(Lead).count());
            if (m_next.start < m_written || m_next.start > latest)
                m_next.start = m_written;
        }
    }
    const size_t block = m_format.blockAlign;
    for (int64_t i = 0; i < frames; ++i) {
        const int64_t frame = m_written + i;
        if (!m_next.samples.empty() && frame >= m_next.start)
            m_current = std::move(m_next), m_next = {};
        const int64_t offset = frame - m_current.start;
        uint8_t* target = out + size_t(i) * block;
        if (offset >= 0 && offset < m_current.Frames(block))
            std::memcpy(target, m_current.samples.data() + size_t(offset) * block, block);
        else
            std::memset(target, 0, block);
    }
}

void TAlsaPlayback::Observe(int64_t taken)
{
    // Before its first frame the device tells nothing of when frames sound. A server takes a
    // cycle's frames at once, and the first look after that sees them the least late.
    if (taken <= 0 || taken == m_taken)
        return;
    m_taken = taken;
    const double now = Seconds(std::chrono::steady_clock::now());
    m_origins.emplace_back(now, now - double(taken) / m_format.samplesPerSec);
    while (m_origins.front().first < now - OriginWindowSeconds)
        m_origins.pop_front();
    const double origin =
        std::min_element(m_origins.begin(), m_origins.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->second;
    std::lock_guard lock(m_mutex);
    m_origin = origin;
}

int64_t TAlsaPlayback::FramesIn(double seconds) const
{
    return std::llround(seconds * m_format.samplesPerSec);
}

void TAlsaPlayback::Forget()
{
    m_origins.clear();
    m_taken = 0;
    std::lock_guard lock(m_mutex);
    m_origin = -1;
}
