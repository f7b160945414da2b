#include "dispense/Walk.h"

#include "dispense/FilesPlaceWalker.h"

// Placeholder until the folder walk lands.
bool probeFile(const QString& path, quint64& size)
{
    Q_UNUSED(path);
    size = 0;
    return false;
}

bool walkFolder(FilesPlaceWalker& walker, const QString& folder, const std::atomic_bool* stop)
{
    Q_UNUSED(walker);
    Q_UNUSED(folder);
    Q_UNUSED(stop);
    return true;
}
