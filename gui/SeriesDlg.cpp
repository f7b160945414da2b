// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/SeriesDlg.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStringListModel>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "gui/MainWindow.h"

namespace {

// Blank discs are written as ISO 9660 in 2048-byte blocks, as the program's
// own writer writes them.
struct BlankDisc
{
    const char* key;
    const char* label;
    quint64 blocks;
};
// Named as sold, in decimal units, and what that is in the binary units
// used everywhere else.
const BlankDisc blankDiscs[] = {
    {"dvd", QT_TRANSLATE_NOOP("SeriesDlg", "Blank DVD±R (4.7 GB = %1)"), 2295104},
    {"dvd-dl", QT_TRANSLATE_NOOP("SeriesDlg", "Blank DVD±R DL (8.5 GB = %1)"), 4171712},
    {"bd", QT_TRANSLATE_NOOP("SeriesDlg", "Blank BD-R (25 GB = %1)"), 12219392},
    {"bd-dl", QT_TRANSLATE_NOOP("SeriesDlg", "Blank BD-R DL (50 GB = %1)"), 24438784},
};
const char* const targetKey = "target";
const char* const otherKey = "other";

// The file systems a medium can be described with, as offered.
struct FileSystemItem
{
    int kind;
    const char* name;
};
const FileSystemItem fileSystemItems[] = {
    {NTFS, QT_TRANSLATE_NOOP("SeriesDlg", "NTFS")},
    {FAT, QT_TRANSLATE_NOOP("SeriesDlg", "FAT32")},
    {EXFAT, QT_TRANSLATE_NOOP("SeriesDlg", "exFAT")},
    {EXT4, QT_TRANSLATE_NOOP("SeriesDlg", "ext4")},
    {ISO9660, QT_TRANSLATE_NOOP("SeriesDlg", "ISO 9660")},
    {UDF, QT_TRANSLATE_NOOP("SeriesDlg", "UDF (for a burner that writes UDF)")}};

struct Unit
{
    const char* name;
    double bytes;
};
const Unit units[] = {{"MB", 1e6}, {"GB", 1e9}, {"MiB", 1048576.0}, {"GiB", 1073741824.0}};

// The program's settings file, as the main window keeps it.
struct Settings : QSettings
{
    Settings() : QSettings(QStringLiteral("quillmarch"), QStringLiteral("quillmarch")) {}
};

QTableWidgetItem* cell(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

SeriesDlg::SeriesDlg(MainWindow* window, const Target& picked, std::vector<SeriesEntry> entries,
                     bool canDispense)
    : QDialog(window), m_window(window), m_entries(std::move(entries)), m_canDispense(canDispense)
{
    setWindowTitle(tr("Plan Series"));

    m_mediumBox = new QComboBox;
    m_mediumBox->setObjectName(QStringLiteral("medium"));
    if (!picked.Path.isEmpty() && picked.hasUsableFigures()) {
        m_kinds.push_back(picked);
        m_mediumBox->addItem(
            tr("%1 (%2, %3 free)")
                .arg(picked.Path, fileSystemTitle(picked.FileSystem), sizeText(picked.capacity())),
            QLatin1String(targetKey));
        m_mediumBox->setItemData(
            0, tr("The picked target, in blocks of %1 bytes").arg(picked.BlockSize),
            Qt::ToolTipRole);
    }
    for (const BlankDisc& disc : blankDiscs) {
        m_kinds.push_back(Target{QString(), ISO9660, 2048, disc.blocks});
        m_mediumBox->addItem(tr(disc.label).arg(preciseSizeText(disc.blocks * 2048)),
                             QLatin1String(disc.key));
    }
    m_mediumBox->addItem(tr("Other..."), QLatin1String(otherKey));

    // The medium the user describes.
    m_fsBox = new QComboBox;
    m_fsBox->setObjectName(QStringLiteral("fileSystem"));
    for (const FileSystemItem& item : fileSystemItems)
        m_fsBox->addItem(tr(item.name), item.kind);
    m_blockBox = new QComboBox;
    m_blockBox->setObjectName(QStringLiteral("blockSize"));
    fillBlockSizes(NTFS);
    m_capacityBox = new QDoubleSpinBox;
    m_capacityBox->setRange(0, 1e6);
    m_capacityBox->setDecimals(2);
    m_capacityBox->setAccelerated(true);
    m_unitBox = new QComboBox;
    for (const Unit& u : units)
        m_unitBox->addItem(QLatin1String(u.name));
    m_otherRow = new QWidget;
    auto* other = new QHBoxLayout(m_otherRow);
    other->setContentsMargins(0, 0, 0, 0);
    auto* fsLabel = new QLabel(tr("&File system:"));
    fsLabel->setBuddy(m_fsBox);
    auto* blockLabel = new QLabel(tr("&Block size:"));
    blockLabel->setBuddy(m_blockBox);
    auto* capacityLabel = new QLabel(tr("C&apacity:"));
    capacityLabel->setBuddy(m_capacityBox);
    other->addWidget(fsLabel);
    other->addWidget(m_fsBox);
    other->addSpacing(8);
    other->addWidget(blockLabel);
    other->addWidget(m_blockBox);
    other->addSpacing(8);
    other->addWidget(capacityLabel);
    other->addWidget(m_capacityBox, 1);
    other->addWidget(m_unitBox);
    m_otherTimer = new QTimer(this);
    m_otherTimer->setSingleShot(true);
    m_otherTimer->setInterval(400); // plan once the user stops typing

    auto* mediumRow = new QHBoxLayout;
    auto* mediumLabel = new QLabel(tr("&Medium:"));
    mediumLabel->setBuddy(m_mediumBox);
    mediumRow->addWidget(mediumLabel);
    mediumRow->addWidget(m_mediumBox, 1);

    m_progress = new QProgressBar;
    m_progress->setTextVisible(false);
    m_progressText = new QLabel;
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setAutoDefault(false);
    m_progressRow = new QWidget;
    auto* progress = new QHBoxLayout(m_progressRow);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->addWidget(m_progressText);
    progress->addWidget(m_progress, 1);
    progress->addWidget(cancel);

    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextFormat(Qt::PlainText);

    m_table = new QTableWidget(0, 4);
    m_table->setHorizontalHeaderLabels(
        {tr("Medium"), tr("Entries"), tr("Size used"), tr("Wasted")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    m_listTitle = new QLabel;
    m_listModel = new QStringListModel(this);
    m_list = new QListView;
    m_list->setModel(m_listModel);
    m_list->setUniformItemSizes(true); // a medium may hold many thousand entries
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_listTitle->setBuddy(m_list);
    auto* lower = new QWidget;
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_listTitle);
    lowerLayout->addWidget(m_list);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_table);
    splitter->addWidget(lower);
    // A series has a few rows; its media many entries.
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);

    // Why "Dispense This Medium" cannot be pressed, where that is not plain.
    m_dispenseNote = new QLabel;
    m_dispenseNote->setObjectName(QStringLiteral("dispenseNote"));
    m_dispenseNote->setWordWrap(true);
    m_dispenseNote->setTextFormat(Qt::PlainText);

    m_exportLine = new QLabel;
    m_exportLine->setObjectName(QStringLiteral("exported"));
    m_exportLine->setWordWrap(true);
    m_exportLine->setTextFormat(Qt::PlainText);
    m_exportLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_exportLine->hide(); // until lists are written

    auto* buttons = new QDialogButtonBox;
    m_exportButton = buttons->addButton(tr("&Export..."), QDialogButtonBox::ActionRole);
    m_dispenseButton =
        buttons->addButton(tr("&Dispense This Medium"), QDialogButtonBox::AcceptRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    // Enter must not dispense by accident.
    m_dispenseButton->setAutoDefault(false);
    m_exportButton->setAutoDefault(false);
    close->setDefault(true);

    // What is dispensed already is not planned again: named with the media.
    DM* model = dataModel();
    for (EntryPos p = model->groupBegin(Dispensed); model->isValidPos(p); ++p.index)
        m_dispensed << model->entryAt(p).Ident;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(mediumRow);
    layout->addWidget(m_otherRow);
    layout->addWidget(m_progressRow);
    layout->addWidget(m_summary);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_exportLine);
    layout->addWidget(m_dispenseNote);
    layout->addWidget(buttons);
    resize(720, 560);

    restoreMediumChoice();

    connect(m_mediumBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SeriesDlg::on_mediumChanged);
    connect(m_fsBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        const int kind = m_fsBox->currentData().toInt();
        fillBlockSizes(kind);
        if (kind == UDF || kind == ISO9660) // what discs and their images use
            m_blockBox->setCurrentIndex(m_blockBox->findData(2048));
        on_otherChanged();
    });
    connect(m_blockBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SeriesDlg::on_otherChanged);
    connect(m_capacityBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &SeriesDlg::on_otherChanged);
    connect(m_unitBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SeriesDlg::on_otherChanged);
    connect(m_otherTimer, &QTimer::timeout, this, &SeriesDlg::startPlan);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &SeriesDlg::on_selectionChanged);
    connect(cancel, &QPushButton::clicked, this, &SeriesDlg::on_cancelPlan);
    connect(m_exportButton, &QPushButton::clicked, this, &SeriesDlg::on_export);
    connect(m_dispenseButton, &QPushButton::clicked, this, &SeriesDlg::on_dispense);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_otherRow->setVisible(m_mediumBox->currentData().toString() == QLatin1String(otherKey));
    startPlan();
}

SeriesDlg::~SeriesDlg()
{
    stopPlan();
}

void SeriesDlg::done(int r)
{
    // No thread outlives the dialog, whichever way it is closed.
    stopPlan();
    QDialog::done(r);
}

Target SeriesDlg::medium() const
{
    const int i = m_mediumBox->currentIndex();
    if (i >= 0 && i < int(m_kinds.size()))
        return m_kinds[std::size_t(i)];
    Target t;
    t.FileSystem = m_fsBox->currentData().toInt();
    t.BlockSize = m_blockBox->currentData().toULongLong();
    const double bytes = m_capacityBox->value() * units[m_unitBox->currentIndex()].bytes;
    t.AvailableBlocks = t.BlockSize ? quint64(std::floor(bytes / double(t.BlockSize))) : 0;
    return t;
}

void SeriesDlg::fillBlockSizes(int fileSystem)
{
    const quint64 was = m_blockBox->currentData().toULongLong();
    const QSignalBlocker quiet(m_blockBox);
    m_blockBox->clear();
    const BlockSizeRange range = blockSizeRange(fileSystem);
    for (quint64 size = range.smallest; size && size <= range.largest; size *= 2)
        m_blockBox->addItem(size < 1024 ? tr("%1 bytes").arg(size) : sizeText(size), size);
    // The size chosen before where this file system allows it, else the
    // nearest it has.
    const int keep =
        m_blockBox->findData(qBound(range.smallest, was == 0 ? quint64(4096) : was, range.largest));
    m_blockBox->setCurrentIndex(std::max(0, keep));
}

void SeriesDlg::restoreMediumChoice()
{
    const Settings stored;
    const int fs = stored.value(QStringLiteral("series/fileSystem"), NTFS).toInt();
    m_fsBox->setCurrentIndex(std::max(0, m_fsBox->findData(fs)));
    fillBlockSizes(m_fsBox->currentData().toInt());
    const int block = m_blockBox->findData(stored.value(QStringLiteral("series/blockSize"), 4096));
    m_blockBox->setCurrentIndex(block >= 0 ? block : m_blockBox->findData(4096));
    const int unit = stored.value(QStringLiteral("series/unit"), 1).toInt();
    m_unitBox->setCurrentIndex(unit >= 0 && unit < m_unitBox->count() ? unit : 1);
    m_capacityBox->setValue(stored.value(QStringLiteral("series/capacity"), 64.0).toDouble());
    // The picked target, when the last choice is not offered (no target now).
    m_mediumBox->setCurrentIndex(
        std::max(0, m_mediumBox->findData(stored.value(QStringLiteral("series/medium")))));
}

void SeriesDlg::storeMediumChoice() const
{
    Settings stored;
    stored.setValue(QStringLiteral("series/medium"), m_mediumBox->currentData());
    stored.setValue(QStringLiteral("series/fileSystem"), m_fsBox->currentData());
    stored.setValue(QStringLiteral("series/blockSize"), m_blockBox->currentData());
    stored.setValue(QStringLiteral("series/capacity"), m_capacityBox->value());
    stored.setValue(QStringLiteral("series/unit"), m_unitBox->currentIndex());
}

void SeriesDlg::on_mediumChanged()
{
    m_otherTimer->stop();
    m_otherRow->setVisible(m_mediumBox->currentData().toString() == QLatin1String(otherKey));
    storeMediumChoice();
    startPlan();
}

void SeriesDlg::on_otherChanged()
{
    storeMediumChoice();
    // The old plan no longer answers what is asked.
    stopPlan();
    m_result = SeriesResult();
    m_failure.clear();
    m_cancelled = false;
    m_otherTimer->start();
    showResult();
}

void SeriesDlg::startPlan()
{
    stopPlan();
    m_result = SeriesResult();
    m_failure.clear();
    m_cancelled = false;
    m_exportLine->clear();
    m_exportLine->hide();
    const Target target = medium();
    if (!target.hasUsableFigures() || target.AvailableBlocks == 0) {
        m_failure = tr("Enter the capacity of the medium.");
        showResult();
        return;
    }
    m_planner = std::make_unique<SeriesPlanner>(target, m_entries);
    const int generation = ++m_generation;
    m_planner->setProgress([this, generation](const SeriesPlanner::Progress& p) {
        // Queued to this dialog: dropped with it, and ignored once a newer plan runs.
        QMetaObject::invokeMethod(
            this,
            [this, generation, p] {
                if (generation == m_generation)
                    showProgress(p);
            },
            Qt::QueuedConnection);
    });
    SeriesPlanner* planner = m_planner.get();
    m_thread = QThread::create([planner] { planner->run(); });
    connect(m_thread, &QThread::finished, this, [this, generation] {
        if (generation == m_generation)
            planEnded();
    });
    SeriesPlanner::Progress first;
    first.total = int(m_entries.size());
    showProgress(first);
    showResult();
    m_thread->start();
}

void SeriesDlg::stopPlan()
{
    if (!m_thread)
        return;
    ++m_generation;
    m_planner->cancel();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_planner.reset();
    m_cancelled = true;
}

void SeriesDlg::on_cancelPlan()
{
    stopPlan();
    showResult();
}

void SeriesDlg::planEnded()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_result = m_planner->result();
    m_failure = m_planner->failure();
    m_planner.reset();
    showResult();
}

void SeriesDlg::showProgress(const SeriesPlanner::Progress& p)
{
    m_progress->setRange(0, std::max(p.total, 1));
    m_progress->setValue(std::min(p.done, p.total));
    m_progressText->setText(
        p.measuring ? tr("Measuring %1 of %2").arg(p.done).arg(p.total)
        : p.repacking
            ? tr("Trying fewer media: %n media, %1 of %2 entries", nullptr, p.media)
                  .arg(p.done)
                  .arg(p.total)
            : tr("Planned %n media, %1 of %2 entries", nullptr, p.media).arg(p.done).arg(p.total));
}

void SeriesDlg::showResult()
{
    const bool busy = planning();
    m_progressRow->setVisible(busy);
    m_table->setRowCount(0);
    m_table->clearSpans();
    m_listModel->setStringList({});
    m_listTitle->clear();
    const int count = int(m_result.media.size());
    if (busy || m_otherTimer->isActive())
        m_summary->setText(tr("Planning…"));
    else if (!m_failure.isEmpty())
        m_summary->setText(m_failure);
    else if (m_cancelled)
        m_summary->setText(tr("Planning cancelled. Choose the medium again to plan."));
    else if (count == 0 && m_result.apart.empty())
        m_summary->setText(tr("Nothing to plan."));
    else {
        QString text =
            tr("%n media (at least %1): %2 of data onto media of %3 each.", nullptr, count)
                .arg(m_result.lowerBound)
                .arg(sizeText(m_result.totalBytes), sizeText(m_result.mediumBytes));
        if (!m_result.apart.empty())
            text += QLatin1Char(' ') +
                    tr("%n entries fit no medium.", nullptr, int(m_result.apart.size()));
        if (std::any_of(m_result.media.begin(), m_result.media.end(),
                        [](const SeriesMedium& m) { return !m.proven; }))
            text += QLatin1Char(' ') + tr("The search of some media stopped at its time limit, "
                                          "so their fill may not be the best.");
        m_summary->setText(text);
    }
    if (!busy && !m_dispensed.isEmpty())
        m_summary->setText(
            m_summary->text() + QLatin1Char(' ') +
            tr("%n entries already dispensed are left out.", nullptr, m_dispensed.size()));

    for (int i = 0; i < count; ++i) {
        const SeriesMedium& m = m_result.media[std::size_t(i)];
        m_table->insertRow(i);
        m_table->setItem(i, 0, cell(QString::number(i + 1), true));
        m_table->setItem(i, 1, cell(QString::number(m.entries.size()), true));
        m_table->setItem(i, 2, cell(sizeText(m.usedBytes), true));
        m_table->setItem(i, 3, cell(sizeText(m.wastedBytes), true));
    }
    // Rows under the media: what no medium can hold, what is left out.
    if (!m_result.apart.empty()) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0,
                         cell(tr("Cannot be placed: %1").arg(m_result.apart.size()), false));
        m_table->setSpan(row, 0, 1, 4);
    }
    if (!m_dispensed.isEmpty() && !busy) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(
            row, 0, cell(tr("Already dispensed, left out: %1").arg(m_dispensed.size()), false));
        m_table->setSpan(row, 0, 1, 4);
    }
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    m_exportButton->setEnabled(count > 0);
    on_selectionChanged();
}

void SeriesDlg::on_selectionChanged()
{
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    const int count = int(m_result.media.size());
    const bool medium = row >= 0 && row < count;
    m_dispenseButton->setEnabled(m_canDispense && medium);
    if (!m_canDispense)
        m_dispenseNote->setText(tr("“Dispense This Medium” is off while entries are "
                                   "dispensed: put them back with Undispense, or delete them, "
                                   "first."));
    else if (count > 0 && !medium)
        m_dispenseNote->setText(tr("Select a medium to dispense it."));
    else
        m_dispenseNote->clear();
    m_dispenseNote->setVisible(!m_dispenseNote->text().isEmpty());
    m_dispenseButton->setToolTip(m_dispenseNote->text());
    const int apartRow = m_result.apart.empty() ? -1 : count;
    QStringList lines;
    if (medium) {
        const SeriesMedium& m = m_result.media[std::size_t(row)];
        m_listTitle->setText(tr("&Entries of medium %1:").arg(row + 1));
        lines.reserve(int(m.entries.size()));
        for (const EntryPos& pos : m.entries)
            lines << pathOf(pos);
    } else if (row >= 0 && row == apartRow) {
        m_listTitle->setText(tr("&Entries that no medium can hold:"));
        for (const SeriesApart& a : m_result.apart)
            lines << pathOf(a.pos) + QStringLiteral(": ") + SeriesPlanner::apartText(a.reason);
    } else if (row >= 0) {
        m_listTitle->setText(tr("&Entries already dispensed, which the plan leaves out:"));
        lines = m_dispensed;
    } else {
        m_listTitle->clear();
    }
    m_listModel->setStringList(lines);
}

QString SeriesDlg::pathOf(const EntryPos& pos) const
{
    const auto it =
        std::lower_bound(m_entries.begin(), m_entries.end(), pos,
                         [](const SeriesEntry& e, const EntryPos& p) { return e.pos < p; });
    return it != m_entries.end() && it->pos == pos ? it->path : QString();
}

void SeriesDlg::on_export()
{
    QString folder;
    if (m_result.media.empty() || !m_window->askExportFolder(folder))
        return;
    QString error;
    int lineBreaks = 0;
    if (!SeriesPlanner::exportLists(
            m_result, [this](const EntryPos& pos) { return pathOf(pos); }, folder, error,
            &lineBreaks)) {
        m_window->showWarning(this, tr("Export"), error);
        return;
    }
    QString line =
        tr("Lists of %n media written to %1", nullptr, int(m_result.media.size())).arg(folder);
    if (lineBreaks > 0)
        line += QLatin1Char(' ') +
                tr("(%n paths with a line break in the .nul lists only)", nullptr, lineBreaks);
    m_exportLine->setText(line);
    m_exportLine->show();
}

void SeriesDlg::on_dispense()
{
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    if (!m_canDispense || row < 0 || row >= int(m_result.media.size()))
        return;
    m_chosen = m_result.media[std::size_t(row)];
    accept();
}
