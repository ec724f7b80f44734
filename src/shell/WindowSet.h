// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

class TMainForm;
class TTestForm;
class TOptionsForm;
class TCalibrationForm;
class TReferenceForm;
class TSummaryForm;

// The program's windows, created in their fixed order when the set is built and destroyed in
// the reverse order with it. They exist for the whole run and are only shown and hidden; the
// globals that name them are set here and nowhere else.
class TWindowSet
{
public:
    // mainReady gets the main window before the others are built, so that it can be on the
    // screen without waiting for windows nobody has asked for yet.
    explicit TWindowSet(const std::function<void(TMainForm*)>& mainReady = {});
    ~TWindowSet();
    TWindowSet(const TWindowSet&) = delete;
    TWindowSet& operator=(const TWindowSet&) = delete;

    TMainForm* Main() const { return m_main.get(); }
    TTestForm* Test() const { return m_test.get(); }
    TOptionsForm* Options() const { return m_options.get(); }
    TCalibrationForm* Calibration() const { return m_calibration.get(); }
    TReferenceForm* Reference() const { return m_reference.get(); }
    TSummaryForm* Summary() const { return m_summary.get(); }

private:
    std::unique_ptr<TMainForm> m_main;
    std::unique_ptr<TTestForm> m_test;
    std::unique_ptr<TOptionsForm> m_options;
    std::unique_ptr<TCalibrationForm> m_calibration;
    std::unique_ptr<TReferenceForm> m_reference;
    std::unique_ptr<TSummaryForm> m_summary;
};
