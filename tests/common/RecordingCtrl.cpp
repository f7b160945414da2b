#include "tests/common/RecordingCtrl.h"

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"

RecordingCtrl& recordingCtrl()
{
    static RecordingCtrl ctrl;
    setController(&ctrl);
    return ctrl;
}


namespace {
template <class T> QObject* asObject(T* view)
{
    return dynamic_cast<QObject*>(view);
}
} // namespace

void RecordingCtrl::attachViews(IViewDialogs* d, IViewActions* a, IViewItems* i, IViewStatus* s)
{
    calls << QStringLiteral("attachViews");
    dialogs = asObject(d);
    actions = asObject(a);
    items = asObject(i);
    status = asObject(s);
}

bool RecordingCtrl::probeTarget(bool wholeVolume, Target& target)
{
    Q_UNUSED(target);
    calls << QStringLiteral("probeTarget %1").arg(wholeVolume);
    return false;
}

void RecordingCtrl::listDriveRoots(QStringList& roots)
{
    roots.clear();
    calls << QStringLiteral("listDriveRoots");
}

void RecordingCtrl::detachViews()
{
    calls << QStringLiteral("detachViews");
    viewsAliveAtDetach = dialogs && actions && items && status;
}
