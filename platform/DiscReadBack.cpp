// SPDX-License-Identifier: GPL-3.0-or-later
#define LIBISOFS_WITHOUT_LIBBURN
#include "platform/DiscReadBack.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libisofs/libisofs.h>

#include <QCoreApplication>
#include <QFile>

bool sameContent(IsoStream* copy, const QByteArray& source, QString* why,
                 const std::function<void(quint64)>& compared, const std::atomic_bool& cancel)
{
    const int fd = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *why = QCoreApplication::translate("DiscReadBack", "cannot be read here any more");
        return false;
    }
    if (iso_stream_open(copy) < 0) {
        ::close(fd);
        *why = QCoreApplication::translate("DiscReadBack", "cannot be read on the disc");
        return false;
    }
    constexpr std::size_t Chunk = 1 << 16;
    std::vector<char> a(Chunk), b(Chunk);
    bool same = false;
    while (!cancel.load()) {
        const int n = iso_stream_read(copy, a.data(), Chunk);
        if (n < 0) {
            *why = QCoreApplication::translate("DiscReadBack", "cannot be read on the disc");
            break;
        }
        // As many bytes of the source, or one to see that it ends too.
        const std::size_t want = n > 0 ? std::size_t(n) : 1;
        std::size_t got = 0;
        ssize_t r = 0;
        while (got < want && (r = ::read(fd, b.data() + got, want - got)) != 0) {
            if (r < 0 && errno != EINTR)
                break;
            got += r > 0 ? std::size_t(r) : 0;
        }
        if (r < 0) {
            *why = QCoreApplication::translate("DiscReadBack", "cannot be read here any more");
            break;
        }
        if (n == 0) {
            same = got == 0;
            if (!same)
                *why = QCoreApplication::translate("DiscReadBack", "is shorter on the disc");
            break;
        }
        if (got < std::size_t(n)) {
            *why = QCoreApplication::translate("DiscReadBack", "is longer on the disc");
            break;
        }
        if (std::memcmp(a.data(), b.data(), std::size_t(n)) != 0) {
            *why = QCoreApplication::translate("DiscReadBack", "holds other bytes on the disc");
            break;
        }
        compared(quint64(n));
    }
    iso_stream_close(copy);
    ::close(fd);
    return same;
}

bool DiscReadBack::run(iso_data_source* src, quint32 startBlock,
                       const std::vector<IsoImageBuilder::Source>& sources,
                       const std::function<void(quint64)>& progress, const std::atomic_bool& cancel)
{
    m_differing.clear();
    m_failure.clear();
    m_cancelled = false;
    IsoImage* image = nullptr;
    IsoReadOpts* opts = nullptr;
    if (!IsoImageBuilder::initLibrary() || iso_image_new("", &image) < 0 ||
        iso_read_opts_new(&opts, 0) < 0) {
        m_failure = QCoreApplication::translate("DiscReadBack", "libisofs cannot start");
        if (image)
            iso_image_unref(image);
        return false;
    }
    iso_read_opts_set_start_block(opts, startBlock);
    IsoReadImageFeatures* features = nullptr;
    const int r = iso_image_import(image, src, opts, &features);
    iso_read_opts_free(opts);
    if (features)
        iso_read_image_features_destroy(features);
    if (r < 0) {
        m_failure =
            QCoreApplication::translate("DiscReadBack", "The written session cannot be read: %1")
                .arg(QString::fromUtf8(iso_error_to_msg(r)));
        iso_image_unref(image);
        IsoImageBuilder::drainMessages();
        return false;
    }
    quint64 done = 0;
    for (const IsoImageBuilder::Source& s : sources) {
        if (cancel.load()) {
            m_cancelled = true;
            break;
        }
        const QString shown = QFile::decodeName(s.path);
        IsoNode* node = nullptr;
        const QByteArray inImage = '/' + s.imagePath;
        QString why;
        struct stat st;
        if (::stat(s.path.constData(), &st) == 0 &&
            (quint64(st.st_size) != s.size ||
             qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec != s.mtimeNs)) {
            why = QCoreApplication::translate("DiscReadBack", "changed while it was written");
        } else if (iso_tree_path_to_node(image, inImage.constData(), &node) != 1 ||
                   iso_node_get_type(node) != LIBISO_FILE) {
            why = QCoreApplication::translate("DiscReadBack", "is missing on the disc");
        } else {
            IsoStream* copy = iso_file_get_stream(reinterpret_cast<IsoFile*>(node));
            if (quint64(iso_stream_get_size(copy)) != s.size)
                why = QCoreApplication::translate("DiscReadBack", "has another size on the disc");
            else
                sameContent(
                    copy, s.path, &why,
                    [&](quint64 n) {
                        done += n;
                        progress(done);
                    },
                    cancel);
            if (cancel.load()) {
                m_cancelled = true;
                break;
            }
        }
        if (!why.isEmpty())
            m_differing.append(shown + QStringLiteral(": ") + why);
    }
    iso_image_unref(image);
    IsoImageBuilder::drainMessages();
    return true;
}
