#include "core/dispense/UdfMeta.h"

qint64 udfMetaBlocks(qint32 folders, qint32 files)
{
    // Every folder two blocks, every file one; directory blocks on top come
    // in steps that repeat every 64 folders and every 256 files.
    qint64 a = 0;
    const qint64 x = qint64(folders) - 20;
    if (x > 0) {
        const qint64 q = x / 64;
        a = 3 * q + 1;
        qint64 r = x - 64 * q;
        static const int steps[] = {21, 22, 21};
        for (int t : steps) {
            r -= t;
            if (r <= 0)
                break;
            ++a;
        }
    }
    qint64 b = 0;
    const qint64 y = qint64(files) - 34;
    if (y > 0) {
        const qint64 q = y / 256;
        b = 7 * q + 1;
        qint64 r = y - 256 * q;
        static const int steps[] = {36, 38, 36, 36, 38, 36, 36};
        for (int t : steps) {
            r -= t;
            if (r <= 0)
                break;
            ++b;
        }
    }
    return 2 * qint64(folders) + a + qint64(files) + b;
}
