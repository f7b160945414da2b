// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IsoDiscWriter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/statvfs.h>
#include <unistd.h>

#include <libisofs/libisofs.h>

#include <libburn/libburn.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/disc/DiscRecord.h"
#include "core/model/SizeText.h"
#include "platform/BurnSession.h"
#include "platform/DiscReadBack.h"
#include "platform/IsoImageBuilder.h"
#include "platform/IsoStreamMend.h"
#include "platform/Recorder.h"

namespace {

constexpr quint64 B = 2048;

// libisofs and libburn declare the same stream struct, each its own way.
burn::burn_source* asBurn(::burn_source* s)
{
    return reinterpret_cast<burn::burn_source*>(s);
}

void freeStream(::burn_source* s)
{
    if (s)
        burn::burn_source_free(asBurn(s));
}

DiscResult ended(DiscResult::Status status, const QString& message, quint64 blocks = 0)
{
    DiscResult r;
    r.status = status;
    r.message = message;
    r.imageBlocks = blocks;
    return r;
}

// Speed and time left of one phase, from its start.
class Meter
{
public:
    Meter(DiscProgress::Phase phase, quint64 total,
          const std::function<void(const DiscProgress&)>& report)
        : m_report(report)
    {
        m_p.phase = phase;
        m_p.total = total;
        m_clock.start();
        m_report(m_p);
    }
    DiscProgress& progress() { return m_p; }
    void update(quint64 done, bool now = false)
    {
        m_p.done = done;
        const qint64 ms = m_clock.elapsed();
        if (!now && ms - m_last < 200)
            return;
        m_last = ms;
        if (ms > 500 && done > 0) {
            m_p.bytesPerSecond = double(done) * 1000.0 / double(ms);
            m_p.secondsLeft =
                done >= m_p.total ? 0 : int(double(m_p.total - done) / m_p.bytesPerSecond + 0.5);
        }
        m_report(m_p);
    }

private:
    DiscProgress m_p;
    QElapsedTimer m_clock;
    qint64 m_last = -1000;
    const std::function<void(const DiscProgress&)>& m_report;
};

// Adds the entries and checks them against the plan; false with result set.
bool build(const DiscJob& job, IsoImageBuilder& image, DiscResult& result)
{
    // A time ahead of the clock (a server's, say) tells nothing. To the end
    // of this millisecond: a file changed in it is not ahead.
    const qint64 now = QDateTime::currentMSecsSinceEpoch() * 1000000 + 999999;

    for (const DiscEntry& e : job.entries) {
        quint64 bytes = 0;
        const std::size_t before = image.sources().size();
        if (!image.addEntry(e.path, &bytes)) {
            result = ended(DiscResult::Refused, image.why());
            return false;
        }
        for (std::size_t i = before; job.plannedAtNs && i < image.sources().size(); ++i) {
            const IsoImageBuilder::Source& s = image.sources()[i];
            // The plan is timed by the clock file times come from; a file changed
            // within the same tick may be either side of it, and counts as changed.
            if (s.changedNs >= job.plannedAtNs && s.changedNs <= now) {
                result =
                    ended(DiscResult::Refused,
                          QCoreApplication::translate(
                              "DiscWriter", "\"%1\" changed since it was planned: dispense again")
                              .arg(QFile::decodeName(s.path)));
                return false;
            }
        }
        if (e.plannedBytes && bytes != e.plannedBytes) {
            result = ended(
                DiscResult::Refused,
                QCoreApplication::translate(
                    "DiscWriter", "\"%1\" changed since it was planned: it holds %2 now, %3 then")
                    .arg(QFileInfo(e.path).fileName(), sizeText(bytes), sizeText(e.plannedBytes)));
            return false;
        }
    }
    return true;
}

// The image's size against the plan and the room, where it takes whole
// chunks of that many blocks; false with result set.
bool fits(const DiscJob& job, qint64 blocks, quint64 chunk, quint64 room, const QString& why,
          DiscResult& result)
{
    if (blocks < 0) {
        result = ended(DiscResult::Failed, why);
        return false;
    }
    if (job.plannedBlocks && quint64(blocks) > job.plannedBlocks) {
        result = ended(DiscResult::Refused,
                       QCoreApplication::translate(
                           "DiscWriter",
                           "The files changed since planning: the image needs %1 blocks where the "
                           "plan counted %2")
                           .arg(blocks)
                           .arg(job.plannedBlocks),
                       quint64(blocks));
        return false;
    }
    if ((quint64(blocks) + chunk - 1) / chunk * chunk * B > room) {
        result = ended(DiscResult::Refused,
                       QCoreApplication::translate(
                           "DiscWriter", "The image needs %1, but there is room for %2 only")
                           .arg(sizeText(quint64(blocks) * B), sizeText(room)),
                       quint64(blocks));
        return false;
    }
    return true;
}

// Reads the image's head through the mend before anything is written, so
// that an image libisofs would damage beyond mending is never started.
bool preflight(IsoImageBuilder& image, quint32 start, DiscResult& result)
{
    ::burn_source* s = IsoStreamMend::wrap(image.stream(start), start);
    if (!s) {
        result = ended(DiscResult::Failed, image.why());
        return false;
    }
    std::vector<unsigned char> buf(64 * B);
    burn::burn_source* b = asBurn(s);
    while (!IsoStreamMend::treePassed(s) && b->read_xt(b, buf.data(), int(buf.size())) > 0) {
    }
    const QString failure = IsoStreamMend::failure(s);
    b->cancel(b);
    freeStream(s);
    IsoImageBuilder::drainMessages();
    if (!failure.isEmpty()) {
        result = ended(DiscResult::Refused,
                       QCoreApplication::translate(
                           "DiscWriter", "libisofs would write a damaged image of these files (%1)")
                           .arg(failure));
        return false;
    }
    return true;
}

// Why the stream stopped, for the user: the mend's finding or libisofs's
// last complaint (a file that changed or cannot be read).
QString streamFailure(::burn_source* s)
{
    const QString libisofs = IsoImageBuilder::drainMessages();
    const QString mend = IsoStreamMend::failure(s);
    return libisofs.isEmpty() ? mend : libisofs;
}

void verify(const DiscJob& job, const IsoImageBuilder& image, iso_data_source* src, quint32 start,
            const std::function<void(const DiscProgress&)>& progress,
            const std::atomic_bool& cancel, DiscResult& result)
{
    if (!job.verify) {
        if (src)
            iso_data_source_unref(src);
        return;
    }
    quint64 total = 0;
    for (const IsoImageBuilder::Source& s : image.sources())
        total += s.size;
    Meter meter(DiscProgress::Verifying, total, progress);
    DiscReadBack back;
    const bool read = back.run(
        src, start, image.sources(), [&](quint64 done) { meter.update(done); }, cancel);
    iso_data_source_unref(src);
    meter.update(meter.progress().done, true);
    if (back.cancelled()) {
        result.message =
            QCoreApplication::translate("DiscWriter", "Written; reading it back was cancelled");
    } else if (!read) {
        result.status = DiscResult::Failed;
        result.message = back.failure();
    } else if (!back.differing().isEmpty()) {
        result.status = DiscResult::Differs;
        result.differing = back.differing();
        result.message = QCoreApplication::translate(
            "DiscWriter", "%n file(s) read back differ from their source", nullptr,
            int(back.differing().size()));
    } else {
        result.verified = true;
    }
    result.files = back.verified();
}

DiscResult toFile(const DiscJob& job, const std::function<void(const DiscProgress&)>& progress,
                  const std::atomic_bool& cancel)
{
    IsoImageBuilder image(job.volumeId);
    DiscResult result;
    if (!build(job, image, result))
        return result;
    const qint64 blocks = image.exactBlocks();
    struct statvfs vfs = {};
    const QByteArray folder = QFile::encodeName(QFileInfo(job.imageFile).absolutePath());
    const quint64 room =
        ::statvfs(folder.constData(), &vfs) == 0 ? quint64(vfs.f_bavail) * vfs.f_frsize : 0;
    if (!fits(job, blocks, 1, room, image.why(), result) || !preflight(image, 0, result))
        return result;
    if (cancel.load())
        return ended(DiscResult::Cancelled,
                     QCoreApplication::translate("DiscWriter", "Cancelled before writing"),
                     quint64(blocks));

    QSaveFile out(job.imageFile);
    if (!out.open(QIODevice::WriteOnly))
        return ended(DiscResult::Failed,
                     QCoreApplication::translate("DiscWriter", "\"%1\" cannot be written: %2")
                         .arg(job.imageFile, out.errorString()),
                     quint64(blocks));
    ::burn_source* s = IsoStreamMend::wrap(image.stream(0), 0);
    if (!s)
        return ended(DiscResult::Failed, image.why(), quint64(blocks));
    Meter meter(DiscProgress::Writing, quint64(blocks) * B, progress);
    std::vector<unsigned char> buf(32 * B);
    quint64 done = 0;
    QString failure;
    for (;;) {
        if (cancel.load())
            break;
        const int n = asBurn(s)->read_xt(asBurn(s), buf.data(), int(buf.size()));
        if (n < 0) {
            failure = streamFailure(s);
            break;
        }
        if (n == 0)
            break;
        if (out.write(reinterpret_cast<const char*>(buf.data()), n) != n) {
            failure = out.errorString();
            break;
        }
        done += quint64(n);
        meter.update(done);
    }
    if (cancel.load() || !failure.isEmpty() || done != quint64(blocks) * B) {
        asBurn(s)->cancel(asBurn(s));
        freeStream(s);
        out.cancelWriting();
        IsoImageBuilder::drainMessages();
        if (cancel.load())
            return ended(
                DiscResult::Cancelled,
                QCoreApplication::translate("DiscWriter", "Cancelled; no image was written"),
                quint64(blocks));
        if (failure.isEmpty())
            failure = QCoreApplication::translate("DiscWriter", "it ended early");
        return ended(DiscResult::Failed,
                     QCoreApplication::translate("DiscWriter", "The image could not be written: %1")
                         .arg(failure),
                     quint64(blocks));
    }
    meter.update(done, true);
    freeStream(s);
    IsoImageBuilder::drainMessages();
    if (!out.commit())
        return ended(DiscResult::Failed,
                     QCoreApplication::translate("DiscWriter", "\"%1\" cannot be written: %2")
                         .arg(job.imageFile, out.errorString()),
                     quint64(blocks));
    result = ended(DiscResult::Written, QString(), quint64(blocks));
    result.volumeId = image.volumeId();
    iso_data_source* src = nullptr;
    if (job.verify &&
        iso_data_source_new_from_file(QFile::encodeName(job.imageFile).constData(), &src) < 0)
        return ended(DiscResult::Failed,
                     QCoreApplication::translate("DiscWriter", "The image cannot be read back"),
                     quint64(blocks));
    verify(job, image, src, 0, progress, cancel, result);
    if (cancel.load()) {
        // Stopped before it was read back whole: not left looking finished.
        QFile::remove(job.imageFile);
        return ended(DiscResult::Cancelled,
                     QCoreApplication::translate("DiscWriter", "Cancelled; no image was written"),
                     quint64(blocks));
    }
    return result;
}

// Blocks of a grabbed drive for libisofs, read 32 at a time.
struct DriveBlocks
{
    burn::burn_drive* drive;
    std::vector<char> cache = std::vector<char>(32 * B);
    quint32 first = 0;
    quint32 count = 0;

    static int open(IsoDataSource*) { return 1; }
    static void free(IsoDataSource* src) { delete static_cast<DriveBlocks*>(src->data); }
    static int read(IsoDataSource* src, uint32_t lba, uint8_t* buffer)
    {
        auto* d = static_cast<DriveBlocks*>(src->data);
        if (lba < d->first || lba >= d->first + d->count) {
            d->count = 0;
            for (int want : {32, 1}) {
                off_t got = 0;
                if (burn::burn_read_data(d->drive, off_t(lba) * off_t(B), d->cache.data(),
                                         want * int(B), &got, 2 | 4) > 0) {
                    d->first = lba;
                    d->count = quint32(want);
                    break;
                }
            }
            if (!d->count)
                return ISO_DATA_SOURCE_MISHAP;
        }
        std::memcpy(buffer, d->cache.data() + (lba - d->first) * B, B);
        return 1;
    }
};

iso_data_source* driveSource(burn::burn_drive* drive)
{
    auto* src = static_cast<IsoDataSource*>(std::calloc(1, sizeof(IsoDataSource)));
    src->refcount = 1;
    src->open = DriveBlocks::open;
    src->close = DriveBlocks::open;
    src->read_block = DriveBlocks::read;
    src->free_data = DriveBlocks::free;
    src->data = new DriveBlocks{drive};
    return src;
}

// A grabbed drive, released when done.
class Grab
{
public:
    ~Grab()
    {
        if (m_info) {
            burn::burn_drive_release(m_info[0].drive, 0);
            burn::burn_drive_info_free(m_info);
        }
    }
    // Grabs the drive at address; the state of its disc when it cannot.
    DiscState::Status grab(const QString& address)
    {
        const QByteArray device = QFile::encodeName(address);
        char adr[BURN_DRIVE_ADR_LEN] = {};
        if (device.size() >= BURN_DRIVE_ADR_LEN)
            return DiscState::NoRecorder;
        if (address.startsWith(QLatin1String("stdio:")))
            qstrncpy(adr, device.constData(), sizeof adr);
        else if (burn::burn_drive_convert_fs_adr(const_cast<char*>(device.constData()), adr) <= 0)
            return DiscState::NoRecorder;
        const int r = burn::burn_drive_scan_and_grab(&m_info, adr, 0);
        if (r <= 0) {
            m_info = nullptr;
            return r == 0 ? DiscState::NoRecorder : DiscState::Busy;
        }
        QElapsedTimer waited;
        waited.start();
        burn::burn_disc_status st;
        while ((st = burn::burn_disc_get_status(drive())) == burn::BURN_DISC_UNREADY &&
               waited.elapsed() < 30000)
            ::usleep(100 * 1000);
        switch (st) {
        case burn::BURN_DISC_BLANK:
        case burn::BURN_DISC_APPENDABLE:
            return DiscState::Writable;
        case burn::BURN_DISC_EMPTY:
            return DiscState::NoDisc;
        case burn::BURN_DISC_FULL:
            return DiscState::Closed;
        case burn::BURN_DISC_UNSUITABLE:
            return DiscState::NotWritable;
        default:
            return DiscState::Unreadable;
        }
    }
    burn::burn_drive* drive() const { return m_info[0].drive; }

private:
    burn::burn_drive_info* m_info = nullptr;
};

// Whether a rewritable medium (or a file) already holds an ISO 9660 volume.
bool holdsVolume(burn::burn_drive* d)
{
    char block[B];
    off_t got = 0;
    return burn::burn_read_data(d, 16 * off_t(B), block, int(B), &got, 2 | 4) > 0 &&
           block[0] == 1 && std::memcmp(block + 1, "CD001", 5) == 0;
}

DiscResult toDrive(const DiscJob& job, const std::function<void(const DiscProgress&)>& progress,
                   const std::atomic_bool& cancel)
{
    BurnSession session;
    if (!session.ok())
        return ended(DiscResult::Failed,
                     QCoreApplication::translate("DiscWriter", "libburn cannot start"));
    Grab grab;
    const DiscState::Status state = grab.grab(job.drive);
    if (state != DiscState::Writable)
        return ended(DiscResult::Refused, discStateMessage(state));
    burn::burn_drive* d = grab.drive();

    // Rewritable media and files are written from their start; write-once
    // media take a new session after the last one, which the new tree keeps.
    burn::burn_write_opts* opts = burn::burn_write_opts_new(d);
    burn::burn_write_opts_set_perform_opc(opts, 0);
    burn::burn_write_opts_set_underrun_proof(opts, 1);
    burn::burn_write_opts_set_multi(opts, job.keepAppendable ? 1 : 0);
    burn::burn_multi_caps* caps = nullptr;
    if (burn::burn_disc_get_multi_caps(d, burn::BURN_WRITE_NONE, &caps, 0) <= 0 || !caps ||
        caps->advised_write_mode == burn::BURN_WRITE_NONE) {
        burn::burn_disc_free_multi_caps(&caps);
        burn::burn_write_opts_free(opts);
        return ended(DiscResult::Refused, discStateMessage(DiscState::NotWritable));
    }
    const bool rewritable = caps->start_adr; // random access: written from its start
    burn::burn_write_opts_set_write_type(opts, caps->advised_write_mode,
                                         caps->advised_write_mode == burn::BURN_WRITE_SAO
                                             ? burn::BURN_BLOCK_SAO
                                             : burn::BURN_BLOCK_MODE1);
    burn::burn_disc_free_multi_caps(&caps);
    const quint64 room = quint64(std::max<off_t>(0, burn::burn_disc_available_space(d, opts)));

    IsoImageBuilder image(job.volumeId);
    DiscResult result;
    quint32 start = 0;
    QString previous; // the identity of the session added to
    if (rewritable) {
        if (!job.overwrite && holdsVolume(d)) {
            burn::burn_write_opts_free(opts);
            DiscResult r = ended(DiscResult::Refused,
                                 QCoreApplication::translate("DiscWriter",
                                                             "The disc already holds files; they "
                                                             "would be overwritten"));
            r.holdsFiles = true;
            return r;
        }
    } else if (burn::burn_disc_get_status(d) == burn::BURN_DISC_APPENDABLE) {
        int last = 0, lba = 0, nwa = 0;
        if (burn::burn_disc_get_msc1(d, &last) <= 0 ||
            burn::burn_disc_track_lba_nwa(d, opts, 0, &lba, &nwa) <= 0 ||
            !image.importSession(driveSource(d), quint32(last))) {
            burn::burn_write_opts_free(opts);
            return ended(DiscResult::Refused,
                         image.why().isEmpty()
                             ? QCoreApplication::translate("DiscWriter",
                                                           "The files already on the disc cannot "
                                                           "be read")
                             : image.why());
        }
        start = quint32(nwa);
        char pvd[B];
        off_t got = 0;
        if (burn::burn_read_data(d, (off_t(last) + 16) * off_t(B), pvd, int(B), &got, 2 | 4) > 0)
            previous = DiscRecord::volumeIdOf(QByteArray(pvd + 830, 16));
    }
    const bool built = build(job, image, result);
    const qint64 exact = built ? image.exactBlocks(start) : -1;
    // libburn writes DVD+R and BD-R tracks in whole chunks of 64 KiB.
    // A session added to a disc repeats the tree already there, which no plan
    // counts: only the room can tell then.
    DiscJob checked = job;
    if (!previous.isEmpty() || start > 0)
        checked.plannedBlocks = 0;
    if (!built || !fits(checked, exact, 32, room, image.why(), result) ||
        !preflight(image, start, result)) {
        burn::burn_write_opts_free(opts);
        return result;
    }
    const quint64 blocks = quint64(exact);
    if (cancel.load()) {
        burn::burn_write_opts_free(opts);
        return ended(DiscResult::Cancelled,
                     QCoreApplication::translate("DiscWriter", "Cancelled before writing"), blocks);
    }

    ::burn_source* mended = IsoStreamMend::wrap(image.stream(start), start);
    burn::burn_source* fifo =
        mended ? burn::burn_fifo_source_new(asBurn(mended), int(B), 2048, 0) : nullptr;
    burn::burn_disc* disc = burn::burn_disc_create();
    burn::burn_session* s = burn::burn_session_create();
    burn::burn_track* track = burn::burn_track_create();
    burn::burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
    burn::burn_track_set_source(track, fifo);
    burn::burn_session_add_track(s, track, BURN_POS_END);
    burn::burn_disc_add_session(disc, s, BURN_POS_END);
    char reasons[BURN_REASONS_LEN] = {};
    const bool ready = fifo && burn::burn_write_opts_auto_write_type(opts, disc, reasons, 0) !=
                                   burn::BURN_WRITE_NONE;
    QString failure;
    // A write thread that has just reported idle may still hold the drive
    // for a moment, and libburn then refuses to start (the status stays
    // idle rather than spawning): try again shortly.
    bool started = false;
    for (int tries = 0; ready && !started && tries < 30; ++tries) {
        burn::burn_disc_write(opts, disc);
        started = burn::burn_drive_get_status(d, nullptr) != burn::BURN_DRIVE_IDLE;
        if (!started) {
            failure = QString::fromUtf8(BurnSession::lastMessage());
            ::usleep(100 * 1000);
        }
    }
    if (started) {
        failure.clear();
        Meter meter(DiscProgress::Writing, blocks * B, progress);
        bool stopping = false;
        burn::burn_progress p;
        burn::burn_drive_status st;
        while ((st = burn::burn_drive_get_status(d, &p)) != burn::BURN_DRIVE_IDLE) {
            if (cancel.load() && !stopping) {
                burn::burn_drive_cancel(d);
                stopping = true;
            }
            if (st == burn::BURN_DRIVE_CLOSING_TRACK || st == burn::BURN_DRIVE_CLOSING_SESSION ||
                st == burn::BURN_DRIVE_WRITING_LEADOUT || st == burn::BURN_DRIVE_WRITING_SYNC)
                meter.progress().phase = DiscProgress::Closing;
            meter.progress().bufferPercent =
                p.buffer_capacity
                    ? int(100 * quint64(p.buffer_capacity - p.buffer_available) / p.buffer_capacity)
                    : -1;
            int size = 0, space = 0;
            char* text = nullptr;
            if (burn::burn_fifo_inquire_status(fifo, &size, &space, &text) >= 0 && size > 0)
                meter.progress().fifoPercent = int(100 * qint64(size - space) / size);
            meter.update(quint64(std::max(0, p.sector)) * B);
            ::usleep(100 * 1000);
        }
        // Idle comes a moment before libburn's thread lets go of the drive.
        ::usleep(500 * 1000);
        meter.update(meter.progress().done, true);
        if (!burn::burn_drive_wrote_well(d) || !IsoStreamMend::failure(mended).isEmpty())
            failure = streamFailure(mended);
        if (failure.isEmpty() && !burn::burn_drive_wrote_well(d))
            failure = QString::fromUtf8(BurnSession::lastMessage());
    } else if (!ready) {
        failure = QString::fromUtf8(reasons);
    }
    burn::burn_source_free(fifo);
    freeStream(mended);
    burn::burn_track_free(track);
    burn::burn_session_free(s);
    burn::burn_disc_free(disc);
    burn::burn_write_opts_free(opts);
    IsoImageBuilder::drainMessages();
    if (!ready || !started)
        return ended(
            DiscResult::Refused,
            QCoreApplication::translate("DiscWriter", "The recorder cannot write this disc: %1")
                .arg(failure),
            blocks);
    if (cancel.load())
        return ended(DiscResult::Cancelled,
                     QCoreApplication::translate("DiscWriter", "Cancelled while writing"), blocks);
    if (!failure.isEmpty())
        return ended(DiscResult::Failed,
                     QCoreApplication::translate("DiscWriter", "Writing failed: %1").arg(failure),
                     blocks);

    result = ended(DiscResult::Written, QString(), blocks);
    result.volumeId = image.volumeId();
    result.previousVolumeId = previous;
    burn::burn_drive_re_assess(d, 0);
    verify(job, image, driveSource(d), start, progress, cancel, result);
    BurnSession::lastMessage();
    return result;
}

} // namespace

DiscResult IsoDiscWriter::write(const DiscJob& job,
                                const std::function<void(const DiscProgress&)>& progress,
                                const std::atomic_bool& cancel)
{
    progress(DiscProgress());
    if (job.entries.empty() || (job.drive.isEmpty() && job.imageFile.isEmpty()))
        return ended(DiscResult::Refused,
                     QCoreApplication::translate("DiscWriter", "Nothing to write"));
    return job.drive.isEmpty() ? toFile(job, progress, cancel) : toDrive(job, progress, cancel);
}
