#include "platform/AlsaMixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace {

constexpr const char* DeviceName = "default";

} // namespace

TAlsaMixer::~TAlsaMixer()
{
    Close();
}

unsigned TAlsaMixer::DeviceCount()
{
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "ctl", &hints) < 0)
        return 0;
    unsigned count = 0;
    while (hints[count] != nullptr)
        ++count;
    snd_device_name_free_hint(hints);
    return count;
}

bool TAlsaMixer::Open()
{
    Close();
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return false;
    if (snd_mixer_attach(mixer, DeviceName) < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 ||
        snd_mixer_load(mixer) < 0) {
        snd_mixer_close(mixer);
        return false;
    }
    m_mixer = mixer;
    return true;
}

bool TAlsaMixer::Close()
{
    m_elements.clear();
    if (m_mixer == nullptr)
        return true;
    const int result = snd_mixer_close(m_mixer);
    m_mixer = nullptr;
    return result >= 0;
}

bool TAlsaMixer::ReadCardName(QString& name) const
{
    snd_hctl_t* hctl = nullptr;
    if (m_mixer == nullptr || snd_mixer_get_hctl(m_mixer, DeviceName, &hctl) < 0)
        return false;
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (snd_ctl_card_info(snd_hctl_ctl(hctl), info) < 0)
        return false;
    name = QString::fromUtf8(snd_ctl_card_info_get_name(info));
    return true;
}

uint32_t TAlsaMixer::FindElement(const char* name)
{
    if (m_mixer == nullptr)
        return 0;
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, name);
    snd_mixer_elem_t* element = snd_mixer_find_selem(m_mixer, id);
    if (element == nullptr)
        return 0;
    m_elements.push_back(element);
    return uint32_t(m_elements.size());
}

snd_mixer_elem_t* TAlsaMixer::Element(uint32_t id) const
{
    if (m_mixer == nullptr || id == 0 || id > m_elements.size())
        return nullptr;
    return m_elements[id - 1];
}

bool TAlsaMixer::HasVolume(uint32_t id) const
{
    snd_mixer_elem_t* element = Element(id);
    return element != nullptr && snd_mixer_selem_has_playback_volume(element) != 0;
}

bool TAlsaMixer::HasSwitch(uint32_t id) const
{
    snd_mixer_elem_t* element = Element(id);
    return element != nullptr && snd_mixer_selem_has_playback_switch(element) != 0;
}

bool TAlsaMixer::GetRange(uint32_t id, long& minimum, long& maximum) const
{
    return HasVolume(id) && snd_mixer_selem_get_playback_volume_range(Element(id), &minimum, &maximum) >= 0;
}

bool TAlsaMixer::GetVolume(uint32_t id, long& value)
{
    if (!HasVolume(id))
        return false;
    TakeInChanges();
    snd_mixer_elem_t* element = Element(id);
    bool found = false;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto selemChannel = snd_mixer_selem_channel_id_t(channel);
        long channelValue = 0;
        if (snd_mixer_selem_has_playback_channel(element, selemChannel) == 0 ||
            snd_mixer_selem_get_playback_volume(element, selemChannel, &channelValue) < 0)
            continue;
        value = found ? std::max(value, channelValue) : channelValue;
        found = true;
    }
    return found;
}

void TAlsaMixer::TakeInChanges()
{
    // Other programs change the same volumes. The simple mixer writes nothing when asked for the
    // value it last knew, so a change it has not taken in yet would stand.
    snd_mixer_handle_events(m_mixer);
}

bool TAlsaMixer::SetVolume(uint32_t id, long value)
{
    if (!HasVolume(id))
        return false;
    TakeInChanges();
    return snd_mixer_selem_set_playback_volume_all(Element(id), value) >= 0;
}

bool TAlsaMixer::SetVolumeLR(uint32_t id, long left, long right)
{
    if (!HasVolume(id))
        return false;
    TakeInChanges();
    snd_mixer_elem_t* element = Element(id);
    // A mono element has only the left (mono) channel.
    if (snd_mixer_selem_is_playback_mono(element) != 0)
        return snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_MONO, left) >= 0;
    return snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_FRONT_LEFT, left) >= 0 &&
           snd_mixer_selem_set_playback_volume(element, SND_MIXER_SCHN_FRONT_RIGHT, right) >= 0;
}

bool TAlsaMixer::SetSwitch(uint32_t id, bool on)
{
    if (!HasSwitch(id))
        return false;
    TakeInChanges();
    return snd_mixer_selem_set_playback_switch_all(Element(id), on ? 1 : 0) >= 0;
}
