// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AlsaMixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <utility>

namespace {

constexpr const char* DeviceName = "default";
// Room for the dB description of any element; drivers send a few dozen words at most.
constexpr unsigned DbInfoWords = 256;

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
    // Non-blocking: looking for changes must never wait for one.
    snd_hctl_t* hctl = nullptr;
    if (!Check("snd_hctl_open", snd_hctl_open(&hctl, DeviceName, SND_CTL_NONBLOCK)))
        return false;
    if (!Check("snd_hctl_load", snd_hctl_load(hctl))) {
        snd_hctl_close(hctl);
        return false;
    }
    m_hctl = hctl;
    return true;
}

bool TAlsaMixer::Close()
{
    if (m_hctl == nullptr)
        return true;
    // Closing calls the element callbacks once more, so the lines they point to go last.
    const int result = snd_hctl_close(m_hctl);
    m_hctl = nullptr;
    m_lines.clear();
    return Check("snd_hctl_close", result);
}

bool TAlsaMixer::ReadCard(QString& name, QString& driver) const
{
    if (m_hctl == nullptr)
        return false;
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (!Check("snd_ctl_card_info", snd_ctl_card_info(snd_hctl_ctl(m_hctl), info)))
        return false;
    name = QString::fromUtf8(snd_ctl_card_info_get_name(info));
    driver = QString::fromUtf8(snd_ctl_card_info_get_driver(info));
    return true;
}

uint32_t TAlsaMixer::FindLine(const char* name)
{
    if (m_hctl == nullptr)
        return 0;
    SLine line;
    const QString prefix = QString::fromUtf8(name) + QStringLiteral(" Playback ");
    if (!Attach(line.volume, prefix + QStringLiteral("Volume"), false))
        return 0;
    // Each element has one callback: a line asked for again is the one found before.
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].volume.element == line.volume.element)
            return uint32_t(i + 1);
    }
    snd_ctl_elem_info_t* info = nullptr;
    snd_ctl_elem_info_alloca(&info);
    if (!Check("snd_hctl_elem_info", snd_hctl_elem_info(line.volume.element, info)))
        return 0;
    line.minimum = snd_ctl_elem_info_get_min(info);
    line.maximum = snd_ctl_elem_info_get_max(info);
    if (snd_ctl_elem_info_is_tlv_readable(info) != 0)
        ReadDbInfo(line);
    Attach(line.onSwitch, prefix + QStringLiteral("Switch"), true);
    SLine& kept = m_lines.emplace_back(std::move(line));
    for (SControl* control : {&kept.volume, &kept.onSwitch}) {
        if (control->element == nullptr)
            continue;
        snd_hctl_elem_set_callback(control->element, &TAlsaMixer::ElementEvent);
        snd_hctl_elem_set_callback_private(control->element, control);
    }
    return uint32_t(m_lines.size());
}

bool TAlsaMixer::Attach(SControl& control, const QString& name, bool boolean)
{
    snd_ctl_elem_id_t* id = nullptr;
    snd_ctl_elem_id_alloca(&id);
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, name.toUtf8().constData());
    snd_hctl_elem_t* element = snd_hctl_find_elem(m_hctl, id);
    if (element == nullptr)
        return false;
    snd_ctl_elem_info_t* info = nullptr;
    snd_ctl_elem_info_alloca(&info);
    if (!Check("snd_hctl_elem_info", snd_hctl_elem_info(element, info)))
        return false;
    const snd_ctl_elem_type_t type = boolean ? SND_CTL_ELEM_TYPE_BOOLEAN : SND_CTL_ELEM_TYPE_INTEGER;
    if (snd_ctl_elem_info_get_type(info) != type || snd_ctl_elem_info_get_count(info) == 0)
        return false;
    control.element = element;
    control.boolean = boolean;
    control.values.assign(snd_ctl_elem_info_get_count(info), 0);
    return true;
}

void TAlsaMixer::ReadDbInfo(SLine& line)
{
    std::vector<unsigned> tlv(DbInfoWords);
    if (!Check("snd_hctl_elem_tlv_read", snd_hctl_elem_tlv_read(line.volume.element, tlv.data(),
                                                                unsigned(tlv.size() * sizeof(unsigned)))))
        return;
    unsigned* db = nullptr;
    const int bytes = snd_tlv_parse_dB_info(tlv.data(), unsigned(tlv.size() * sizeof(unsigned)), &db);
    // An element without a dB description is no failure.
    if (bytes <= 0 || db == nullptr)
        return;
    line.dbInfo.assign(db, db + bytes / sizeof(unsigned));
}

int TAlsaMixer::ElementEvent(snd_hctl_elem_t* element, unsigned mask)
{
    auto* control = static_cast<SControl*>(snd_hctl_elem_get_callback_private(element));
    if (control == nullptr)
        return 0;
    // ALSA frees a removed element after this call.
    if (mask == SND_CTL_EVENT_MASK_REMOVE)
        control->element = nullptr;
    else if ((mask & SND_CTL_EVENT_MASK_VALUE) != 0)
        control->stale = true;
    return 0;
}

const TAlsaMixer::SLine* TAlsaMixer::Line(uint32_t id) const
{
    if (m_hctl == nullptr || id == 0 || id > m_lines.size() || m_lines[id - 1].volume.element == nullptr)
        return nullptr;
    return &m_lines[id - 1];
}

TAlsaMixer::SLine* TAlsaMixer::Line(uint32_t id)
{
    return const_cast<SLine*>(std::as_const(*this).Line(id));
}

bool TAlsaMixer::HasSwitch(uint32_t id) const
{
    const SLine* line = Line(id);
    return line != nullptr && line->onSwitch.element != nullptr;
}

bool TAlsaMixer::GetRange(uint32_t id, long& minimum, long& maximum) const
{
    const SLine* line = Line(id);
    if (line == nullptr)
        return false;
    minimum = line->minimum;
    maximum = line->maximum;
    return true;
}

const TAlsaMixer::SLine* TAlsaMixer::DbLine(uint32_t id) const
{
    const SLine* line = Line(id);
    return line != nullptr && !line->dbInfo.empty() ? line : nullptr;
}

bool TAlsaMixer::GetDbRange(uint32_t id, long& minimum, long& maximum) const
{
    const SLine* line = DbLine(id);
    return line != nullptr &&
           Check("snd_tlv_get_dB_range",
                 snd_tlv_get_dB_range(line->dbInfo.data(), line->minimum, line->maximum, &minimum, &maximum));
}

bool TAlsaMixer::FromDb(uint32_t id, long centiDb, long& value) const
{
    const SLine* line = DbLine(id);
    return line != nullptr &&
           Check("snd_tlv_convert_from_dB", snd_tlv_convert_from_dB(line->dbInfo.data(), line->minimum,
                                                                    line->maximum, centiDb, &value, 0));
}

bool TAlsaMixer::ToDb(uint32_t id, long value, long& centiDb) const
{
    const SLine* line = DbLine(id);
    return line != nullptr &&
           Check("snd_tlv_convert_to_dB",
                 snd_tlv_convert_to_dB(line->dbInfo.data(), line->minimum, line->maximum, value, &centiDb));
}

void TAlsaMixer::TakeInChanges()
{
    // Other programs change the same volumes; the device's news of it marks what must be read.
    Check("snd_hctl_handle_events", snd_hctl_handle_events(m_hctl));
}

bool TAlsaMixer::Fresh(SControl& control)
{
    if (!control.stale)
        return true;
    snd_ctl_elem_value_t* value = nullptr;
    snd_ctl_elem_value_alloca(&value);
    if (!Check("snd_hctl_elem_read", snd_hctl_elem_read(control.element, value)))
        return false;
    for (unsigned channel = 0; channel < control.values.size(); ++channel) {
        control.values[channel] = control.boolean ? snd_ctl_elem_value_get_boolean(value, channel)
                                                  : snd_ctl_elem_value_get_integer(value, channel);
    }
    control.stale = false;
    return true;
}

bool TAlsaMixer::Write(SControl& control, long left, long right)
{
    if (!Fresh(control))
        return false;
    std::vector<long> target(control.values.size(), std::max(left, right));
    if (target.size() > 1) {
        target[0] = left;
        target[1] = right;
    }
    if (target == control.values)
        return true;
    snd_ctl_elem_value_t* value = nullptr;
    snd_ctl_elem_value_alloca(&value);
    for (unsigned channel = 0; channel < target.size(); ++channel) {
        if (control.boolean)
            snd_ctl_elem_value_set_boolean(value, channel, target[channel]);
        else
            snd_ctl_elem_value_set_integer(value, channel, target[channel]);
    }
    if (!Check("snd_hctl_elem_write", snd_hctl_elem_write(control.element, value))) {
        control.stale = true;
        return false;
    }
    control.values = std::move(target);
    return true;
}

const std::vector<long>* TAlsaMixer::Volumes(uint32_t id)
{
    if (m_hctl == nullptr)
        return nullptr;
    TakeInChanges();
    SLine* line = Line(id);
    return line != nullptr && Fresh(line->volume) ? &line->volume.values : nullptr;
}

bool TAlsaMixer::GetVolume(uint32_t id, long& value)
{
    const std::vector<long>* values = Volumes(id);
    if (values == nullptr)
        return false;
    value = *std::max_element(values->begin(), values->end());
    return true;
}

bool TAlsaMixer::GetVolumeLR(uint32_t id, long& left, long& right)
{
    const std::vector<long>* values = Volumes(id);
    if (values == nullptr)
        return false;
    left = values->front();
    right = values->size() > 1 ? (*values)[1] : left;
    return true;
}

bool TAlsaMixer::SetVolumeLR(uint32_t id, long left, long right)
{
    if (m_hctl == nullptr)
        return false;
    TakeInChanges();
    SLine* line = Line(id);
    return line != nullptr && Write(line->volume, left, right);
}

bool TAlsaMixer::SetSwitchLR(uint32_t id, bool left, bool right)
{
    if (m_hctl == nullptr)
        return false;
    TakeInChanges();
    SLine* line = Line(id);
    return line != nullptr && line->onSwitch.element != nullptr && Write(line->onSwitch, left, right);
}
