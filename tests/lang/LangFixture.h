// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lang/Lang.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A res folder of its own with the language list and language files a test writes.
class TLangFixture : public ::testing::Test
{
protected:
    void WriteFile(const QString& name, const QString& text)
    {
        QFile file(m_res.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    QString ResPath() const { return m_res.path(); }

private:
    QTemporaryDir m_res;
};
