#pragma once

#include "lang/Lang.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

// Gives gLang legend texts of the test's own while the fixture lives.
class TLegendTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto texts = std::make_unique<TIniFile>();
        texts->SetText(
            QStringLiteral("[DefSection]\nStrGraphLine=Line\nStrGraphName=Name\nStrGraphSurname=Surname\n"
                           "StrGraphBirthday=Born\nStrGraphDate=Date\nStrGraphCal=Calibration\n"
                           "StrGraphRef=Reference\nStrGraphRemarks=Remarks\nStrGraphOn=applied\n"
                           "StrGraphLack=none\nStrGraphOff=not applied\n"));
        m_saved = std::exchange(gLang.IniLang, std::move(texts));
    }

    void TearDown() override { gLang.IniLang = std::move(m_saved); }

private:
    std::unique_ptr<TIniFile> m_saved;
};
