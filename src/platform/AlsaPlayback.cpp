#include "platform/AlsaPlayback.h"

#include <QtEndian>

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
constexpr size_t RiffHeaderSize = 12;
constexpr size_t ChunkHeaderSize = 8;
constexpr size_t FormatChunkSize = 16;

// ALSA reports failures as negative error numbers; callers read them from errno.
bool Check(int result)
{
    if (result >= 0)
        return true;
    errno = -result;
    return false;
}

// The program's images hold 16-bit samples; other sample sizes are refused.
snd_pcm_format_t SampleFormat(const SWaveFormat& format)
{
    return format.bitsPerSample == 16 ? SND_PCM_FORMAT_S16_LE : SND_PCM_FORMAT_UNKNOWN;
}

bool IsPlayable(const SWaveFormat& format)
{
    return format.formatTag == TAlsaPlayback::PcmFormatTag && format.channels > 0 &&
           format.samplesPerSec > 0 && SampleFormat(format) != SND_PCM_FORMAT_UNKNOWN &&
           format.blockAlign == format.channels * format.bitsPerSample / 8;
}

SWaveFormat ReadFormatChunk(const uint8_t* chunk)
{
    SWaveFormat format;
    format.formatTag = qFromLittleEndian<uint16_t>(chunk);
    format.channels = qFromLittleEndian<uint16_t>(chunk + 2);
    format.samplesPerSec = qFromLittleEndian<uint32_t>(chunk + 4);
    format.avgBytesPerSec = qFromLittleEndian<uint32_t>(chunk + 8);
    format.blockAlign = qFromLittleEndian<uint16_t>(chunk + 12);
    format.bitsPerSample = qFromLittleEndian<uint16_t>(chunk + 14);
    return format;
}

} // namespace

TAlsaPlayback::~TAlsaPlayback()
{
    Close();
}

bool TAlsaPlayback::ParseWaveImage(const uint8_t* image, size_t size, SWaveData& data)
{
    if (image == nullptr || size < RiffHeaderSize || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "WAVE", 4) != 0)
        return false;
    bool formatFound = false;
    size_t offset = RiffHeaderSize;
    while (offset + ChunkHeaderSize <= size) {
        const uint8_t* chunk = image + offset;
        const size_t body = offset + ChunkHeaderSize;
        const size_t chunkSize = qFromLittleEndian<uint32_t>(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && chunkSize >= FormatChunkSize &&
            body + FormatChunkSize <= size) {
            data.format = ReadFormatChunk(image + body);
            formatFound = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatFound || !IsPlayable(data.format))
                return false;
            data.samples = image + body;
            // A header that promises more than the image holds plays what is there.
            data.size = std::min(chunkSize, size - body) / data.format.blockAlign * data.format.blockAlign;
            return true;
        }
        // Chunks are padded to an even length.
        offset = body + chunkSize + (chunkSize & 1);
    }
    return false;
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
    if (!IsPlayable(format)) {
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
                      Check(snd_pcm_hw_params_set_format(m_pcm, params, SampleFormat(format))) &&
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
    if (!ParseWaveImage(image, size, data)) {
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

void TAlsaPlayback::Stop()
{
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
    if (m_pcm != nullptr && !m_ready)
        snd_pcm_drop(m_pcm);
}

void TAlsaPlayback::Feed(const uint8_t* samples, size_t frames)
{
    while (frames > 0 && !m_stop) {
        const snd_pcm_sframes_t written = snd_pcm_writei(m_pcm, samples, frames);
        if (written == -EAGAIN) {
            snd_pcm_wait(m_pcm, WaitMilliseconds);
        } else if (written < 0) {
            // Underrun (-EPIPE) or suspend (-ESTRPIPE): recover and go on with the rest.
            if (snd_pcm_recover(m_pcm, int(written), 1) < 0)
                return;
        } else {
            samples += size_t(written) * m_format.blockAlign;
            frames -= size_t(written);
        }
    }
    if (m_stop)
        return;
    // An image shorter than the buffer never reaches the start threshold.
    if (snd_pcm_state(m_pcm) == SND_PCM_STATE_PREPARED)
        snd_pcm_start(m_pcm);
    PlayOut();
    // Set up for the next image now: its start then waits for no round trip to the sound server.
    m_ready = !m_stop && Check(snd_pcm_drop(m_pcm)) && Check(snd_pcm_prepare(m_pcm));
}

void TAlsaPlayback::PlayOut()
{
    while (!m_stop && snd_pcm_state(m_pcm) == SND_PCM_STATE_RUNNING) {
        const snd_pcm_sframes_t available = snd_pcm_avail(m_pcm);
        if (available < 0 || snd_pcm_uframes_t(available) >= m_bufferFrames)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(WaitMilliseconds));
    }
}
