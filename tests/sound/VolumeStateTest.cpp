// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/VolumeState.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray StateText()
{
    QFile file(TVolumeState::FilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("none");
}

// Engines alive at once, and an engine that could not give the volume back: the file keeps the
// volume the first one found until it has been given back.
TEST(VolumeStateTest, TheFileKeepsTheFirstVolumeFoundUntilItIsGivenBack)
{
    QFile::remove(TVolumeState::FilePath());
    TVolumeState::Hold({40000, 30000});
    TVolumeState::Hold({6553, 6553});
    EXPECT_TRUE(StateText().contains("left=40000\nright=30000\n"));
    TVolumeState::Release(true);
    EXPECT_TRUE(StateText().contains("left=40000\nright=30000\n"));
    TVolumeState::Release(true);
    EXPECT_EQ(StateText(), "none");

    TVolumeState::Hold({30000, 30000});
    TVolumeState::Release(false);
    EXPECT_TRUE(StateText().contains("left=30000\nright=30000\n"));
    TVolumeState::Hold({6553, 6553});
    EXPECT_TRUE(StateText().contains("left=30000\nright=30000\n"));
    TVolumeState::Release(true);
    EXPECT_EQ(StateText(), "none");
}

} // namespace
