// SPDX-License-Identifier: GPL-3.0-or-later
#define LIBISOFS_WITHOUT_LIBBURN
#include "platform/DiscReadBack.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <future>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libisofs/libisofs.h>

#include <QCoreApplication>
#include <QFile>

#include "core/copy/HashPipe.h"
#include "core/copy/ReadBack.h"

namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;

qint64 readSome(int fd, char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, data, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

} // namespace

bool DiscReadBack::run(iso_data_source* src, quint32 startBlock,
                       const std::vector<IsoImageBuilder::Source>& sources,
                       const std::function<void(quint64)>& progress, const std::atomic_bool& cancel)
{
    m_differing.clear();
    m_verified.clear();
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
    // The source is read on a thread of its own while the disc is read here.
    HashPipe discHash, sourceHash;
    std::vector<char> discBuffers, sourceBuffers;
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
        IsoStream* copy = nullptr;
        if (::stat(s.path.constData(), &st) == 0 &&
            (quint64(st.st_size) != s.size ||
             qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec != s.mtimeNs)) {
            why = QCoreApplication::translate("DiscReadBack", "changed while it was written");
        } else if (iso_tree_path_to_node(image, inImage.constData(), &node) != 1 ||
                   iso_node_get_type(node) != LIBISO_FILE) {
            why = QCoreApplication::translate("DiscReadBack", "is missing on the disc");
        } else if (copy = iso_file_get_stream(reinterpret_cast<IsoFile*>(node)),
                   quint64(iso_stream_get_size(copy)) != s.size) {
            why = QCoreApplication::translate("DiscReadBack", "has another size on the disc");
        } else {
            const int fd = ::open(s.path.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || iso_stream_open(copy) < 0) {
                why = fd < 0 ? QCoreApplication::translate("DiscReadBack",
                                                           "cannot be read here any more")
                             : QCoreApplication::translate("DiscReadBack",
                                                           "cannot be read on the disc");
                if (fd >= 0)
                    ::close(fd);
            } else {
                std::future<ReadBack::Sum> original = std::async(std::launch::async, [&] {
                    return ReadBack::read(
                        [fd](char* data, std::size_t size) { return readSome(fd, data, size); },
                        s.size, sourceHash, sourceBuffers, kBlock, {}, cancel);
                });
                const ReadBack::Sum back = ReadBack::read(
                    [copy](char* data, std::size_t size) -> qint64 {
                        const int n = iso_stream_read(copy, data, size);
                        if (n < 0)
                            errno = EIO;
                        return n;
                    },
                    s.size, discHash, discBuffers, kBlock,
                    [&](quint64 n) {
                        done += n;
                        progress(done);
                    },
                    cancel);
                const ReadBack::Sum source = original.get();
                iso_stream_close(copy);
                ::close(fd);
                if (back.stopped || source.stopped) {
                    m_cancelled = true;
                    break;
                }
                const ReadBack::Verdict verdict = ReadBack::judge(back, s.size, source.hash);
                if (source.error || source.bytes != s.size)
                    why =
                        QCoreApplication::translate("DiscReadBack", "cannot be read here any more");
                else if (back.error)
                    why = QCoreApplication::translate("DiscReadBack", "cannot be read on the disc");
                else if (verdict == ReadBack::Shorter)
                    why = QCoreApplication::translate("DiscReadBack", "is shorter on the disc");
                else if (verdict == ReadBack::Different)
                    why = QCoreApplication::translate("DiscReadBack",
                                                      "holds other bytes on the disc");
                else
                    m_verified.push_back(DiscFile{shown, QFile::decodeName(s.imagePath), s.size,
                                                  s.mtimeNs, back.hash});
            }
        }
        if (!why.isEmpty())
            m_differing.append(shown + QStringLiteral(": ") + why);
    }
    iso_image_unref(image);
    IsoImageBuilder::drainMessages();
    return true;
}
