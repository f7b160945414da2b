// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/RecordingCtrl.h"

RecordingCtrl& recordingCtrl()
{
    static RecordingCtrl ctrl;
    setController(&ctrl);
    return ctrl;
}
