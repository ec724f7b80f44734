#include "shell/WindowSet.h"

#include "data/ReferenceForm.h"
#include "settings/OptionsForm.h"
#include "shell/MainForm.h"

TWindowSet::TWindowSet()
{
    m_main = std::make_unique<TMainForm>();
    MainForm = m_main.get();
    m_options = std::make_unique<TOptionsForm>();
    OptionsForm = m_options.get();
    m_reference = std::make_unique<TReferenceForm>();
    ReferenceForm = m_reference.get();
}

TWindowSet::~TWindowSet()
{
    ReferenceForm = nullptr;
    m_reference.reset();
    OptionsForm = nullptr;
    m_options.reset();
    MainForm = nullptr;
    m_main.reset();
}
