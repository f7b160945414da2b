#include "model/ProjectFile.h"

#include "model/ProjectData.h"

// Placeholder until the project file lands.
bool writeProjectFile(const QString& path, const ProjectData& data, QString* error)
{
    Q_UNUSED(path);
    Q_UNUSED(data);
    if (error)
        *error = QStringLiteral("Saving is not available yet.");
    return false;
}

bool readProjectFile(const QString& path, ProjectData& out, QString* error)
{
    Q_UNUSED(path);
    Q_UNUSED(out);
    if (error)
        *error = QStringLiteral("Loading is not available yet.");
    return false;
}
