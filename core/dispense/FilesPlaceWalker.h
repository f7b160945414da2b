#pragma once

#include <QtGlobal>

// Receives what a folder walk finds: one call per sub-folder, one per file.
class FilesPlaceWalker
{
public:
    virtual ~FilesPlaceWalker() = default;

    virtual void onFolder() = 0;
    virtual void onFile(const quint64& size) = 0;
};
