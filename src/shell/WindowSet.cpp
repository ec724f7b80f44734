#include "shell/WindowSet.h"

#include "data/ReferenceForm.h"
#include "data/SummaryForm.h"
#include "settings/OptionsForm.h"
#include "shell/MainForm.h"
#include "test/CalibrationForm.h"
#include "test/TestForm.h"

TWindowSet::TWindowSet()
{
    m_main = std::make_unique<TMainForm>();
    MainForm = m_main.get();
    m_test = std::make_unique<TTestForm>();
    TestForm = m_test.get();
    m_options = std::make_unique<TOptionsForm>();
    OptionsForm = m_options.get();
    m_calibration = std::make_unique<TCalibrationForm>();
    CalibrationForm = m_calibration.get();
    m_reference = std::make_unique<TReferenceForm>();
    ReferenceForm = m_reference.get();
    m_summary = std::make_unique<TSummaryForm>();
    SummaryForm = m_summary.get();
}

TWindowSet::~TWindowSet()
{
    SummaryForm = nullptr;
    m_summary.reset();
    ReferenceForm = nullptr;
    m_reference.reset();
    CalibrationForm = nullptr;
    m_calibration.reset();
    OptionsForm = nullptr;
    m_options.reset();
    TestForm = nullptr;
    m_test.reset();
    MainForm = nullptr;
    m_main.reset();
}
