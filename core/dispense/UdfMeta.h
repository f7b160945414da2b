#pragma once

#include <QtGlobal>

// Blocks that UDF needs for the file entries and directories of this many
// folders and files together. Grows by steps and never falls when either
// argument grows.
qint64 udfMetaBlocks(qint32 folders, qint32 files);
