#include "dispense/TargetDiscovery.h"

// Placeholder until target discovery lands.
void listDriveRoots(QStringList& roots)
{
    roots.clear();
}

bool probeTarget(bool wholeVolume, Target& target)
{
    Q_UNUSED(wholeVolume);
    Q_UNUSED(target);
    throw TargetError{QStringLiteral("Unsupported file system")};
}
