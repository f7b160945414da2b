// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QThread>

// The dispense search as its progress dialog sees it: signals out, three
// requests in. The requests only set atomic words and return at once.
class IDispenser : public QThread
{
    Q_OBJECT
public:
    using QThread::QThread;

    virtual void cancel() = 0;
    virtual void accept() = 0;
    virtual void enough() = 0;

signals:
    // set_stage: what the search is doing. set_progress, set_enough: never
    // emitted; kept for views to connect.
    void set_stage(QString text);
    void set_progress(int value);
    void set_bestResult4Now(quint64 bytes);
    void set_enough(bool on);
    void do_finish(bool ok);
};
