// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/WindowSet.h"

#include "data/ReferenceForm.h"
#include "data/SummaryForm.h"
#include "hearing/CalibrationForm.h"
#include "hearing/TestForm.h"
#include "options/OptionsForm.h"
#include "shell/MainForm.h"

namespace {

template <typename TWindow> void Create(std::unique_ptr<TWindow>& slot, TWindow*& global)
{
    slot = std::make_unique<TWindow>();
    global = slot.get();
}

// The global goes first, so that nothing reaches a window while it is being destroyed.
template <typename TWindow> void Destroy(std::unique_ptr<TWindow>& slot, TWindow*& global)
{
    global = nullptr;
    slot.reset();
}

} // namespace

TWindowSet::TWindowSet(const std::function<void(TMainForm*)>& mainReady)
{
    Create(m_main, MainForm);
    if (mainReady)
        mainReady(m_main.get());
    Create(m_test, TestForm);
    Create(m_options, OptionsForm);
    Create(m_calibration, CalibrationForm);
    Create(m_reference, ReferenceForm);
    Create(m_summary, SummaryForm);
}

TWindowSet::~TWindowSet()
{
    Destroy(m_summary, SummaryForm);
    Destroy(m_reference, ReferenceForm);
    Destroy(m_calibration, CalibrationForm);
    Destroy(m_options, OptionsForm);
    Destroy(m_test, TestForm);
    Destroy(m_main, MainForm);
}
