// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QDateTime>
#include <QWidget>

#include "control/IViewStatus.h"

class QBoxLayout;
class QLabel;

// The project against the medium at a glance, under the list: the medium's
// name, a bar with
// Required, Main and Background in their group colours (after a dispense,
// first what the plan takes of the medium, in the colour of Dispensed), a
// line where the medium ends and a hatched overflow past it; beside it the
// same in words, or right after a dispense its one-line summary, which stays
// until the groups or the target change. Shows only what it is given.
class CapacityBar : public QWidget
{
    Q_OBJECT
public:
    explicit CapacityBar(QWidget* parent = nullptr);

    // The medium: a short name, the bytes it can take (0: there is none) and
    // what more there is to say about it.
    void setTarget(const QString& name, quint64 capacity, const QString& details);
    // When the medium's figures were last probed (invalid: they are those
    // saved in the project) and why the last probe failed: figures older than
    // a minute say when they are from. A medium whose figures do not age (one
    // described by its size) says nothing of it.
    void setChecked(const QDateTime& when, const QString& problem, bool ages = true);
    void setGroups(const IViewStatus::GroupTotals& totals);
    // A dispense result is held: wasted bytes of the medium stay free, of the
    // room it was planned for (0: the medium's capacity now).
    void setDispensed(bool dispensed, quint64 wasted = 0, quint64 room = 0);
    void setOutcome(quint64 usedBytes, quint64 freeBytes, IViewStatus::SearchEnd end);

    // The words beside the bar.
    QString text() const;
    bool showsOutcome() const { return m_hasOutcome; }

    // One stretch of the bar: a group (Dispensed: what the plan takes of the
    // medium) and the bytes it spans, counted from the start of the medium.
    // The groups a result left behind start where the medium ends.
    struct Span
    {
        int group;
        quint64 from, to;
    };
    std::vector<Span> spans() const;
    // The medium the bar measures against: the room a held plan was made
    // for, else the medium's capacity now.
    quint64 capacity() const { return m_dispensed && m_planRoom > 0 ? m_planRoom : m_capacity; }
    // Where the last span ends; past capacity() when the groups overflow.
    quint64 end() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    void arrange();
    QString toolTipText() const;
    // How old the medium's figures are, as words to add; empty while fresh.
    QString ageText() const;
    QString checkedText() const; // for the tooltips

    QBoxLayout* m_layout;
    QLabel* m_medium;
    QWidget* m_gauge;
    QLabel* m_words;
    QString m_name;
    QString m_details;
    quint64 m_capacity = 0;
    QDateTime m_checked;
    QString m_problem;
    bool m_ages = true;
    IViewStatus::GroupTotals m_totals;
    bool m_dispensed = false;
    quint64 m_wasted = 0;
    quint64 m_planRoom = 0;
    bool m_hasOutcome = false;
    quint64 m_used = 0, m_free = 0;
    IViewStatus::SearchEnd m_end = IViewStatus::SearchFinished;
};
