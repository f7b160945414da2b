#include "core/dispense/Dispenser.h"

#include <memory>
#include <new>
#include <vector>

#include <QDebug>

#include "core/dispense/TryCalcerFactory.h"
#include "core/dispense/TryCalcerProto.h"
#include "core/model/DM.h"

Dispenser::Dispenser() : IDispenser(nullptr) {}

Dispenser::~Dispenser()
{
    cancel();
    wait();
}

// The request is written before the stop flag, so that the search, when it
// clears the flag after serving "enough", cannot lose a request made meanwhile.
void Dispenser::cancel()
{
    m_request = Cancel;
    m_stopTrying = true;
    m_stopWalk = true;
}

void Dispenser::accept()
{
    m_request = Accept;
    m_stopTrying = true;
}

void Dispenser::enough()
{
    m_request = Enough;
    m_stopTrying = true;
}

bool Dispenser::searchLevel(TryCalcerProto& calc, const std::atomic_bool& stop, bool literal,
                            const std::function<bool(qint64)>& improved)
{
    if (!literal)
        return calc.findBetter(stop, improved);
    quint64 best = quint64(calc.freeBlocks());
    while (calc.nextTry(stop)) {
        const qint64 cur = calc.freeBlocks();
        if (quint64(cur) < best) {
            best = quint64(cur);
            if (!improved(cur))
                return false;
        }
    }
    return !stop.load();
}

void Dispenser::run()
{
    try {
        search();
    } catch (const std::bad_alloc&) {
        // Nothing may cross the thread's edge; the lists go with the message.
        m_queue.clear();
        std::vector<LeftOut>().swap(m_leftOut);
        m_failure = QStringLiteral("The search ran out of memory");
        emit do_finish(false);
    }
}

void Dispenser::search()
{
    m_stopTrying = false;
    int improvements = 0;
    std::vector<unsigned> bestSelection;

    DM* model = dataModel();
    const Target target = model->target();
    const quint64 blockSize = target.BlockSize;
    std::unique_ptr<TryCalcerProto> calc = createTryCalcer(target);
    if (!calc) {
        // Unknown file system or no block size: nothing can be measured.
        emit do_finish(false);
        return;
    }
    calc->setWalkStop(&m_stopWalk);

    static const int levelGroups[] = {Required, Main, Background};
    qint64 best = calc->capacity();
    for (int group : levelGroups) {
        int measured = 0;
        for (EntryPos pos = model->groupBegin(group); model->isValidPos(pos); ++pos.index) {
            calc->addItem(model->entryAt(pos).Ident, unsigned(pos.index));
            // A walk cut short leaves the entry measured too small: never use it.
            if (m_request == Cancel || calc->walkStopped()) {
                emit do_finish(false);
                return;
            }
            if (calc->itemIssue() != NoSizeIssue)
                m_leftOut.push_back(LeftOut{pos, calc->itemIssue()});
            else
                ++measured;
        }
        calc->prepare();
        best = calc->freeBlocks();
        calc->getSelection(bestSelection);
        emit set_bestResult4Now(quint64(best) * blockSize);

        if (m_request == Searching) {
            searchLevel(*calc, m_stopTrying, false, [&](qint64 cur) {
                if (m_request != Searching)
                    return false;
                best = cur;
                calc->getSelection(bestSelection);
                ++improvements;
                qDebug().nospace().noquote() << " Try " << improvements << " " << cur;
                emit set_bestResult4Now(quint64(cur) * blockSize);
                return true;
            });
        }
        if (m_request == Cancel) {
            emit do_finish(false);
            return;
        }
        for (unsigned i : bestSelection)
            m_queue.push(EntryPos{group, int(i)});
        if (group == Required)
            m_requiredNotFitted = measured - int(bestSelection.size());

        int request = m_request;
        if (request == Enough) {
            m_stopTrying = false;
            if (m_request.compare_exchange_strong(request, Searching))
                request = Searching;
            else
                m_stopTrying = true;
        }
        if (request == Accept)
            break;
        calc->beginLevel(best);
    }
    if (m_request == Cancel) {
        emit do_finish(false);
        return;
    }
    m_wasted = quint64(best) * blockSize;
    emit do_finish(true);
}
