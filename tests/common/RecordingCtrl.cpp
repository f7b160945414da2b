#include "tests/common/RecordingCtrl.h"

RecordingCtrl& recordingCtrl()
{
    static RecordingCtrl ctrl;
    setController(&ctrl);
    return ctrl;
}
