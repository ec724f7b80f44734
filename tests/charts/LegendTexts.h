#pragma once

#include "lang/Lang.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

// Gives gLang legend texts of the test's own for the lifetime of the fixture, whatever the
// shipped language files say.
class TLegendTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto texts = std::make_unique<TIniFile>();
        texts->SetText(QStringLiteral("[DefSection]\n"
                                      "StrGraphLine=Line\nStrGraphName=Name\nStrGraphSurname=Surname\n"
                                      "StrGraphBirthday=Born\nStrGraphDate=Date\nStrGraphCal=Calibration\n"
                                      "StrGraphRef=Reference\nStrGraphRemarks=Remarks\n"
                                      "StrGraphOn=applied\nStrGraphLack=none\nStrGraphOff=not applied\n"));
        m_saved = std::exchange(gLang.IniLang, std::move(texts));
    }

    void TearDown() override { gLang.IniLang = std::move(m_saved); }

private:
    std::unique_ptr<TIniFile> m_saved;
};
