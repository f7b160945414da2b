// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/DeleteDlg.h"

#include <memory>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include "core/copy/TargetArrival.h"
#include "core/model/EntryPaths.h"
#include "core/model/SizeText.h"
#include "gui/DialogAnswers.h"

namespace {

QString stateText(Arrival state)
{
    switch (state) {
    case Arrival::Arrived:
        return DeleteDlg::tr("arrived");
    case Arrival::Missing:
        return DeleteDlg::tr("missing");
    case Arrival::Differs:
        return DeleteDlg::tr("differs");
    case Arrival::NotChecked:
        break;
    }
    return DeleteDlg::tr("not checked");
}

QLabel* wrapped(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

DeleteDlg::DeleteDlg(const IViewDialogs::DeleteQuestion& q, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Delete the files"));
    int counts[4] = {};
    for (const IViewDialogs::DeleteQuestion::Row& row : q.rows)
        ++counts[int(row.state)];
    const int total = int(q.rows.size()), arrived = counts[int(Arrival::Arrived)];

    QStringList lines;
    if (!q.problem.isEmpty())
        lines << q.problem << tr("Nothing was checked, so no original can go to the trash.");
    else if (arrived == 0)
        lines << tr("None of the dispensed entries arrived on the target with the same content, "
                    "so no original can go to the trash.");
    else if (arrived == total)
        lines << tr("All %n dispensed entries arrived on the target with the same content. Move "
                    "their originals to the trash?",
                    nullptr, total);
    else
        lines << tr("%n of %1 dispensed entries arrived on the target with the same content. "
                    "Move their originals to the trash? The others stay dispensed.",
                    nullptr, arrived)
                     .arg(total);
    // Every entry is counted once: the four add up to the rows.
    lines << tr("Arrived: %1    Missing: %2    Differs: %3    Not checked: %4")
                 .arg(arrived)
                 .arg(counts[int(Arrival::Missing)])
                 .arg(counts[int(Arrival::Differs)])
                 .arg(counts[int(Arrival::NotChecked)]);
    if (!q.places.isEmpty()) {
        QStringList places;
        for (const QString& p : q.places)
            places << escapedText(p);
        lines << tr("Looked in: %1").arg(places.join(QStringLiteral(", ")));
    }
    if (!q.note.isEmpty())
        lines << q.note;

    const int rows = int(lines.size());
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel;
    const QStyle::StandardPixmap kind = arrived == total && q.problem.isEmpty()
                                            ? QStyle::SP_MessageBoxQuestion
                                            : QStyle::SP_MessageBoxWarning;
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(kind, nullptr, this).pixmap(side, side));
    layout->addWidget(icon, 0, 0, rows, 1, Qt::AlignTop);
    for (int i = 0; i < rows; ++i)
        layout->addWidget(wrapped(lines.at(i)), i, 1);

    auto* table = new QTreeWidget;
    table->setObjectName(QStringLiteral("arrivals"));
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus); // to read, not to act on
    table->setHeaderLabels({tr("Entry"), tr("State"), tr("Reason")});
    for (const IViewDialogs::DeleteQuestion::Row& row : q.rows) {
        auto* item = new QTreeWidgetItem(
            table, {escapedText(row.name), stateText(row.state), escapedText(row.reason)});
        item->setToolTip(0, escapedText(row.path));
        item->setToolTip(2, escapedText(row.reason));
        m_shown += QLatin1Char('\n') + row.name + QLatin1Char('\t') + stateText(row.state) +
                   QLatin1Char('\t') + row.reason;
    }
    table->header()->setStretchLastSection(true);
    for (int c = 0; c < 2; ++c)
        table->resizeColumnToContents(c);
    layout->addWidget(table, rows, 0, 1, 2);
    layout->setRowStretch(rows, 1);
    m_shown.prepend(lines.join(QLatin1Char('\n')));

    // One set of buttons whatever was found, each in its role, so the platform
    // lays them out in one order.
    auto* buttons = new QDialogButtonBox;
    m_look = buttons->addButton(tr("&Look in a Folder..."), QDialogButtonBox::ActionRole);
    m_move = buttons->addButton(arrived > 0 ? tr("&Move %1 to Trash").arg(arrived)
                                            : tr("&Move to Trash"),
                                QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_move->setEnabled(arrived > 0 && q.problem.isEmpty());
    // Enter presses the default, never a button that merely has the focus.
    QPushButton* preferred = m_move->isEnabled() && arrived == total ? m_move : m_cancel;
    for (QPushButton* b : {m_look, m_move, m_cancel})
        b->setAutoDefault(b == preferred);
    preferred->setDefault(true);
    preferred->setFocus();
    connect(m_look, &QPushButton::clicked, this, [this] { done(QMessageBox::Open); });
    connect(m_move, &QPushButton::clicked, this, [this] { done(QMessageBox::Yes); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(QMessageBox::Cancel); });
    layout->addWidget(buttons, rows + 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    resize(680, 420);
}

QMessageBox::StandardButton DeleteDlg::ask()
{
    QMessageBox::StandardButton answer;
    int pressed = QDialog::Rejected;
    if (DialogAnswers::takeButton(*this, m_shown, answer))
        pressed = int(answer);
    else
        pressed = exec();
    // A button that is off cannot be pressed; closing the dialog cancels.
    const QPushButton* b = pressed == QMessageBox::Open  ? m_look
                           : pressed == QMessageBox::Yes ? m_move
                                                         : nullptr;
    return b && b->isEnabled() ? QMessageBox::StandardButton(pressed) : QMessageBox::Cancel;
}

bool DeleteDlg::runCheck(TargetArrival& check, QWidget* parent)
{
    QProgressDialog progress(tr("Comparing the copies on the target with the originals..."),
                             tr("Cancel"), 0, 1000, parent);
    progress.setWindowTitle(tr("Delete the files"));
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setWindowModality(Qt::WindowModal);
    int answer = QDialog::Accepted;
    const bool answered = DialogAnswers::takeResult(progress, answer);
    std::unique_ptr<QThread> worker(QThread::create([&check] { check.run(); }));
    worker->start();
    if (answered && answer != QDialog::Accepted)
        check.stop();
    // A verified copy is checked in a moment: no dialog flashes up for it.
    if (!answered && !worker->wait(300)) {
        QTimer timer;
        connect(&timer, &QTimer::timeout, &progress, [&] {
            if (worker->isFinished()) {
                progress.accept();
                return;
            }
            const TargetArrival::Progress p = check.progress();
            progress.setLabelText(
                tr("Comparing the copies on the target with the originals: %1 of %2 read\n%3")
                    .arg(sizeText(p.bytesDone), sizeText(p.bytesTotal), escapedText(p.current)));
            if (p.bytesTotal > 0)
                progress.setValue(int(1000 * qMin(p.bytesDone, p.bytesTotal) / p.bytesTotal));
        });
        connect(&progress, &QProgressDialog::canceled, &progress, [&check] { check.stop(); });
        timer.start(100);
        progress.exec();
    }
    worker->wait();
    return !check.stopped();
}
