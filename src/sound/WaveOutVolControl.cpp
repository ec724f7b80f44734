// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/WaveOutVolControl.h"

#include "log/Log.h"
#include "log/Version.h"
#include "platform/AlsaPlayback.h"
#include "platform/MessageBox.h"
#include "platform/SystemError.h"
#include "sound/WaveImage.h"

namespace {

bool HasNoDeviceVolume()
{
    return gLog.winVersion >= VistaOrLater;
}

QString ErrorCode()
{
    return QString::number(TSystemError::LastCode());
}

} // namespace

CWaveOutVolControl::CWaveOutVolControl() = default;

CWaveOutVolControl::~CWaveOutVolControl()
{
    Close();
}

bool CWaveOutVolControl::Open()
{
    if (m_hWaveOut)
        Close();
    m_numDevs = TAlsaPlayback::DeviceCount();
    m_mxCaps = {};
    if (m_numDevs == 0) {
        const QString text = QStringLiteral("Lack of waveOutGetNumDevs");
        TMessageBox::Show({nullptr, text, ProductName, QMessageBox::Ok, QMessageBox::NoIcon});
        LOG_AT(text);
        return false;
    }
    auto device = std::make_unique<TAlsaPlayback>();
    if (!device->Open(TWaveImage::Format)) {
        LOG_AT(QStringLiteral("waveOutOpen failed, MMRESULT=") + ErrorCode());
        return false;
    }
    m_hWaveOut = std::move(device);
    if (!m_hWaveOut->ReadDeviceName(m_mxCaps.szPname, sizeof m_mxCaps.szPname)) {
        LOG_AT(QStringLiteral("waveOutGetDevCaps failed, MMRESULT=") + ErrorCode());
        Close();
        return false;
    }
    m_mxCaps.wChannels = TWaveImage::Format.channels;
    // An ALSA PCM has no volume of its own, so the volume flag stays clear.
    m_mxCaps.dwSupport = 0;
    return true;
}

bool CWaveOutVolControl::Close()
{
    if (!m_hWaveOut)
        return true;
    if (!m_hWaveOut->Close()) {
        LOG_AT(QStringLiteral("WaveOut Close error=") + ErrorCode());
        return false;
    }
    m_hWaveOut.reset();
    return true;
}

bool CWaveOutVolControl::GetVolume(uint16_t& left, uint16_t& right)
{
    if (HasNoDeviceVolume()) {
        left = 0;
        right = 0;
        return true;
    }
    if (!m_hWaveOut && !Open())
        return false;
    LOG_AT(QStringLiteral("waveOutGetVolume failed,Volume control not supported m_mxCaps.dwSupport=%1 "
                          "WAVECAPS_VOLUME=%2")
               .arg(m_mxCaps.dwSupport)
               .arg(WAVECAPS_VOLUME));
    Close();
    return false;
}

// The values have nowhere to go: no device here has a volume of its own.
bool CWaveOutVolControl::SetVolume(uint16_t, uint16_t)
{
    if (HasNoDeviceVolume())
        return true;
    if (!m_hWaveOut && !Open())
        return false;
    LOG_AT(QStringLiteral("waveOutSetVolume failed, device don't support volume change"));
    Close();
    return false;
}
