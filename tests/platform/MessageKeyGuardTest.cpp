// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageKeyGuard.h"

#include <gtest/gtest.h>

TEST(MessageKeyGuard, AnswerKeysReachABoxOnlyWhenPressedAfterItCameUp)
{
    const struct
    {
        const char* what;
        int key;
        bool press;
        bool autoRepeat;
        bool pressSeen;
        qint64 elapsed;
        bool lets;
    } rows[] = {
        {"Return at once", Qt::Key_Return, true, false, false, 0, false},
        {"Enter just before the end", Qt::Key_Enter, true, false, false, 1499, false},
        {"Return at the end", Qt::Key_Return, true, false, false, 1500, true},
        {"Space later", Qt::Key_Space, true, false, false, 4000, true},
        {"Return held from before", Qt::Key_Return, true, true, false, 4000, false},
        {"release of a press let through", Qt::Key_Space, false, false, true, 4000, true},
        {"release of a key held from before", Qt::Key_Space, false, false, false, 4000, false},
        {"Escape at once", Qt::Key_Escape, true, false, false, 0, true},
        {"a letter at once", Qt::Key_A, true, false, false, 0, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TMessageKeyGuard::Lets(row.key, row.press, row.autoRepeat, row.pressSeen, row.elapsed),
                  row.lets)
            << row.what;
}
