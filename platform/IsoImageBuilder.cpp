// SPDX-License-Identifier: GPL-3.0-or-later
#define LIBISOFS_WITHOUT_LIBBURN
#include "platform/IsoImageBuilder.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libisofs/libisofs.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "core/Log.h"
#include "core/disc/DiscRecord.h"

namespace {

// The options the cost model counts with (core/dispense/IsoMeta.h).
IsoWriteOpts* writeOptions(quint32 startBlock, bool appending, bool willCancel, QByteArray uuid)
{
    IsoWriteOpts* o = nullptr;
    if (iso_write_opts_new(&o, 0) < 0)
        return nullptr;
    iso_write_opts_set_iso_level(o, 3); // files of 4 GiB and more
    iso_write_opts_set_rockridge(o, 1);
    iso_write_opts_set_rrip_version_1_10(o, 1);
    iso_write_opts_set_joliet(o, 1);
    iso_write_opts_set_joliet_longer_paths(o, 1); // else Windows misses deep files
    iso_write_opts_set_omit_version_numbers(o, 2);
    iso_write_opts_set_no_force_dots(o, 2);
    // Deep folders stay where they are rather than moving to RR_MOVED.
    iso_write_opts_set_allow_deep_paths(o, 1);
    iso_write_opts_set_allow_longer_paths(o, 1);
    iso_write_opts_set_always_gmt(o, 1);
    iso_write_opts_set_dir_rec_mtime(o, 3); // the files' times for Windows too
    iso_write_opts_set_tail_blocks(o, 150);
    iso_write_opts_set_appendable(o, appending ? 1 : 0);
    iso_write_opts_set_ms_block(o, startBlock);
    iso_write_opts_set_will_cancel(o, willCancel ? 1 : 0);
    // The same time in every descriptor, and one the disc is known by.
    iso_write_opts_set_pvd_times(o, 0, 0, 0, 0, uuid.data());
    return o;
}

qint64 mtimeOf(const struct stat& st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

qint64 changedOf(const struct stat& st)
{
    return std::max(mtimeOf(st), qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec);
}

QString shown(const QByteArray& path)
{
    return QFile::decodeName(path);
}

} // namespace

bool IsoImageBuilder::initLibrary()
{
    static const bool ok = [] {
        if (iso_init() < 0)
            return false;
        iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
        iso_set_msgs_severities(const_cast<char*>("WARNING"), const_cast<char*>("NEVER"),
                                const_cast<char*>("libisofs"));
        iso_set_abort_severity(const_cast<char*>("SORRY"));
        return true;
    }();
    return ok;
}

QString IsoImageBuilder::drainMessages()
{
    // The message codes as the queue gives them: their low 16 bits.
    auto low = [](unsigned code) { return int(code & 0xFFFF); };
    QString first, last;
    int code = 0, image = 0;
    char text[4096], severity[80];
    while (iso_obtain_msgs(const_cast<char*>("ALL"), &code, &image, text, severity) > 0) {
        qCDebug(qmLog) << "libisofs" << severity << Qt::hex << code << text;
        last = QString::fromUtf8(text);
        // The cause rather than the end it brought (a file that changed or
        // cannot be read ends the image).
        const int c = code & 0xFFFF;
        if (first.isEmpty() && std::strcmp(severity, "WARNING") != 0 &&
            std::strcmp(severity, "NOTE") != 0 && c != low(ISO_IMAGE_WRITE_CANCELED) &&
            c != low(ISO_WRITE_ERROR) && c != low(ISO_CANCELED))
            first = c == low(ISO_FILE_CANT_WRITE)
                        ? QCoreApplication::translate(
                              "IsoImageBuilder",
                              "a file changed or could not be read while it was written (%1)")
                              .arg(last)
                        : last;
    }
    return first.isEmpty() ? last : first;
}

IsoImageBuilder::IsoImageBuilder(const QString& volumeId)
{
    // Hundredths of a second since the epoch, one more than the last image's.
    static std::atomic<qint64> last{0};
    qint64 centis = QDateTime::currentMSecsSinceEpoch() / 10, before = last.load();
    do
        centis = std::max(centis, before + 1);
    while (!last.compare_exchange_weak(before, centis));
    m_uuid = QDateTime::fromMSecsSinceEpoch(centis * 10, Qt::UTC)
                 .toString(QStringLiteral("yyyyMMddhhmmss"))
                 .toLatin1() +
             QByteArray::number(centis % 100).rightJustified(2, '0');
    if (!initLibrary() || iso_image_new("", &m_image) < 0) {
        m_image = nullptr;
        m_why = QCoreApplication::translate("IsoImageBuilder", "libisofs cannot start");
        return;
    }
    iso_tree_set_follow_symlinks(m_image, 1);
    const QByteArray id = volumeId.isEmpty() ? QByteArray("QUILLMARCH") : volumeId.toUtf8();
    iso_image_set_volume_id(m_image, id.constData());
}

IsoImageBuilder::~IsoImageBuilder()
{
    if (m_image)
        iso_image_unref(m_image);
}

bool IsoImageBuilder::fail(const QString& why)
{
    m_why = why;
    drainMessages();
    return false;
}

bool IsoImageBuilder::importSession(iso_data_source* src, quint32 startBlock)
{
    if (!m_image)
        return false;
    IsoReadOpts* ropts = nullptr;
    if (iso_read_opts_new(&ropts, 0) < 0)
        return fail(QCoreApplication::translate("IsoImageBuilder", "libisofs cannot start"));
    iso_read_opts_set_start_block(ropts, startBlock);
    IsoReadImageFeatures* features = nullptr;
    const int r = iso_image_import(m_image, src, ropts, &features);
    iso_read_opts_free(ropts);
    if (features)
        iso_read_image_features_destroy(features);
    if (r < 0)
        return fail(QCoreApplication::translate("IsoImageBuilder",
                                                "The files already on the disc cannot be read: %1")
                        .arg(QString::fromUtf8(iso_error_to_msg(r))));
    m_appending = true;
    return true;
}

bool IsoImageBuilder::addEntry(const QString& path, quint64* bytes)
{
    quint64 total = 0;
    if (bytes)
        *bytes = 0;
    if (!m_image)
        return false;
    m_entered.clear();
    const QByteArray native = QFile::encodeName(path);
    const QByteArray name = QFile::encodeName(QFileInfo(path).fileName());
    IsoDir* root = iso_image_get_root(m_image);
    struct stat st;
    IsoNode* node = nullptr;
    int r = 0;
    if (::stat(native.constData(), &st) != 0) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(native.constData(), target, sizeof target - 1);
        if (n <= 0)
            return fail(QCoreApplication::translate("IsoImageBuilder", "\"%1\" no longer exists")
                            .arg(path));
        target[n] = 0;
        IsoSymlink* link = nullptr;
        r = iso_tree_add_new_symlink(root, name.constData(), target, &link);
    } else if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
        r = iso_tree_add_new_node(m_image, root, name.constData(), native.constData(), &node);
    } else {
        return fail(
            QCoreApplication::translate("IsoImageBuilder", "\"%1\" is neither a file nor a folder")
                .arg(path));
    }
    if (r == int(ISO_NODE_NAME_NOT_UNIQUE))
        return fail(
            m_appending
                ? QCoreApplication::translate("IsoImageBuilder", "\"%1\" is already on the disc")
                      .arg(QFile::decodeName(name))
                : QCoreApplication::translate("IsoImageBuilder", "Two entries are named \"%1\"")
                      .arg(QFile::decodeName(name)));
    if (r < 0)
        return fail(QCoreApplication::translate("IsoImageBuilder", "\"%1\" cannot be added: %2")
                        .arg(path, QString::fromUtf8(iso_error_to_msg(r))));
    if (node && S_ISREG(st.st_mode)) {
        m_sources.push_back(Source{native, name, quint64(st.st_size), mtimeOf(st), changedOf(st)});
        total = quint64(st.st_size);
    } else if (node) {
        m_entered.insert({quint64(st.st_dev), quint64(st.st_ino)});
        if (!addChildren(reinterpret_cast<IsoDir*>(node), native, name, total))
            return false;
    }
    if (bytes)
        *bytes = total;
    return true;
}

bool IsoImageBuilder::addChildren(IsoDir* dir, const QByteArray& path, const QByteArray& imagePath,
                                  quint64& bytes)
{
    DIR* d = ::opendir(path.constData());
    if (!d)
        return fail(
            QCoreApplication::translate("IsoImageBuilder", "The folder \"%1\" cannot be read")
                .arg(shown(path)));
    std::vector<QByteArray> names;
    errno = 0;
    while (const struct dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    }
    const bool listed = errno == 0;
    ::closedir(d);
    if (!listed)
        return fail(
            QCoreApplication::translate("IsoImageBuilder", "The folder \"%1\" cannot be read")
                .arg(shown(path)));
    // libisofs keeps a folder's children sorted in a list: adding the last
    // name first puts each one at the front.
    std::sort(names.begin(), names.end(), [](const QByteArray& a, const QByteArray& b) {
        return std::strcmp(a.constData(), b.constData()) > 0;
    });
    for (const QByteArray& name : names) {
        const QByteArray full = path + '/' + name;
        const QByteArray inImage = imagePath + '/' + name;
        struct stat st;
        if (::lstat(full.constData(), &st) != 0)
            continue; // gone since it was listed
        if (S_ISLNK(st.st_mode) && ::stat(full.constData(), &st) != 0) {
            if (errno != ENOENT && errno != ELOOP && errno != ENOTDIR)
                return fail(QCoreApplication::translate("IsoImageBuilder", "\"%1\" cannot be read")
                                .arg(shown(full)));
            // Leads nowhere: kept as the link it is, as the walk counts it.
            char target[PATH_MAX];
            const ssize_t n = ::readlink(full.constData(), target, sizeof target - 1);
            if (n <= 0)
                continue;
            target[n] = 0;
            IsoSymlink* link = nullptr;
            const int r = iso_tree_add_new_symlink(dir, name.constData(), target, &link);
            if (r == int(ISO_RR_PATH_TOO_LONG))
                continue; // Rock Ridge cannot hold it; it leads nowhere anyway
            if (r < 0)
                return fail(QString::fromUtf8(iso_error_to_msg(r)));
            struct stat ls;
            if (::lstat(full.constData(), &ls) == 0) {
                IsoNode* n = reinterpret_cast<IsoNode*>(link);
                iso_node_set_mtime(n, ls.st_mtime);
                iso_node_set_atime(n, ls.st_atime);
                iso_node_set_ctime(n, ls.st_ctime);
                iso_node_set_uid(n, ls.st_uid);
                iso_node_set_gid(n, ls.st_gid);
            }
            continue;
        }
        const bool folder = S_ISDIR(st.st_mode);
        if (!folder && !S_ISREG(st.st_mode))
            continue; // devices, pipes and sockets hold nothing to copy
        // Each folder once, however many links lead to it, as the walk.
        if (folder && !m_entered.insert({quint64(st.st_dev), quint64(st.st_ino)}).second)
            continue;
        IsoNode* node = nullptr;
        const int r =
            iso_tree_add_new_node(m_image, dir, name.constData(), full.constData(), &node);
        if (r < 0)
            return fail(QCoreApplication::translate("IsoImageBuilder", "\"%1\" cannot be added: %2")
                            .arg(shown(full), QString::fromUtf8(iso_error_to_msg(r))));
        if (folder) {
            if (!addChildren(reinterpret_cast<IsoDir*>(node), full, inImage, bytes))
                return false;
        } else {
            m_sources.push_back(
                Source{full, inImage, quint64(st.st_size), mtimeOf(st), changedOf(st)});
            bytes += quint64(st.st_size);
        }
    }
    return true;
}

QString IsoImageBuilder::volumeId() const
{
    return DiscRecord::volumeIdOf(m_uuid);
}

burn_source* IsoImageBuilder::create(quint32 startBlock, bool willCancel)
{
    if (!m_image)
        return nullptr;
    IsoWriteOpts* o = writeOptions(startBlock, m_appending, willCancel, m_uuid);
    burn_source* src = nullptr;
    const int r = o ? iso_image_create_burn_source(m_image, o, &src) : -1;
    if (o)
        iso_write_opts_free(o);
    if (r < 0) {
        fail(QCoreApplication::translate("IsoImageBuilder", "libisofs cannot lay out the image: %1")
                 .arg(QString::fromUtf8(iso_error_to_msg(r))));
        return nullptr;
    }
    return src;
}

qint64 IsoImageBuilder::exactBlocks(quint32 startBlock)
{
    burn_source* src = create(startBlock, true);
    if (!src)
        return -1;
    const off_t size = src->get_size(src);
    src->cancel(src);
    src->free_data(src);
    std::free(src);
    drainMessages();
    return qint64(size / 2048);
}

burn_source* IsoImageBuilder::stream(quint32 startBlock)
{
    return create(startBlock, false);
}
