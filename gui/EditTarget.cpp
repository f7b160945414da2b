// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/EditTarget.h"

#include <memory>

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeWidget>

#include "control/Ctrl.h"
#include "core/dispense/IsoCost.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "core/model/SizeText.h"
#include "gui/FiguresRow.h"
#include "gui/IconSet.h"
#include "platform/ShellIcons.h"

namespace {

// The UDF metadata of even one file takes this many blocks of a disc.
constexpr quint64 kUdfReservedBlocks = 262;

// Probing a disc spins it up and a busy drive is retried for seconds.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

EditTarget::EditTarget(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Pick a Target Storage"));
    m_layout = new QGridLayout;
    m_picture = new QLabel(this);
    m_picture->setPixmap(icon(DiskSelect).pixmap(32, 32, QIcon::Normal, QIcon::Off));
    m_layout->addWidget(m_picture, 0, 0, Qt::AlignTop);
    m_driveList = new QTreeWidget(this);
    m_driveList->setObjectName(QStringLiteral("driveList"));
    m_layout->addWidget(m_driveList, 0, 1);
    m_figures = new FiguresRow(tr("F&ree space:"), this);
    m_figures->hide();
    m_layout->addWidget(m_figures, 1, 1);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->hide();
    // ISO 9660 is what the program and Linux burners write; UDF for others.
    auto* discRow = new QHBoxLayout;
    m_discLabel = new QLabel(tr("Write the disc as:"), this);
    m_discKind = new QComboBox(this);
    m_discKind->setObjectName(QStringLiteral("discFileSystem"));
    m_discKind->addItem(tr("ISO 9660 with Rock Ridge and Joliet"), int(ISO9660));
    m_discKind->addItem(tr("UDF (for a burner that writes UDF)"), int(UDF));
    m_discLabel->setBuddy(m_discKind);
    discRow->addWidget(m_discLabel);
    discRow->addWidget(m_discKind, 1);
    m_layout->addLayout(discRow, 2, 0, 1, 2);
    m_layout->addWidget(m_message, 3, 0, 1, 2);
    if (dataModel()->hasTarget() && dataModel()->target().FileSystem == UDF)
        m_discKind->setCurrentIndex(m_discKind->findData(int(UDF)));
    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch();
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_buttonRow->addWidget(m_okButton);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_buttonRow->addWidget(m_cancelButton);
    m_layout->addLayout(m_buttonRow, 4, 0, 1, 2);
    setLayout(m_layout);
    connect(m_driveList, SIGNAL(doubleClicked(const QModelIndex&)), this,
            SLOT(on_doubleClicked(const QModelIndex&)));
    connect(m_cancelButton, SIGNAL(clicked()), this, SLOT(on_cancel()));
    connect(m_okButton, SIGNAL(clicked()), this, SLOT(on_accept()));
    connect(m_driveList, &QTreeWidget::currentItemChanged, this, &EditTarget::on_currentChanged);
    connect(m_figures, &FiguresRow::changed, m_message, &QWidget::hide);
    fillDriveList();
    on_currentChanged();
}

QString EditTarget::refusal(const Target& target)
{
    // The check the command line and the project file make.
    const QString figures = target.figuresRefusal();
    if (!figures.isEmpty())
        return figures;
    if ((target.FileSystem == UDF && target.AvailableBlocks <= kUdfReservedBlocks) ||
        (target.FileSystem == ISO9660 && target.AvailableBlocks <= IsoCost::reservedBlocks()))
        return tr("The disc has no room left for files");
    return QString();
}

void EditTarget::fillDriveList()
{
    enum Column
    {
        MountPoint,
        Label,
        FileSystem,
        Free,
        Status,
        ColumnCount
    };
    m_driveList->setColumnCount(ColumnCount);
    m_driveList->setHeaderLabels(
        {tr("Mount point"), tr("Label"), tr("File system"), tr("Free space"), QString()});
    m_driveList->setRootIsDecorated(false);
    m_driveList->setAllColumnsShowFocus(true);
    QStringList roots;
    controller()->listDriveRoots(roots);
    const QString current = dataModel()->hasTarget() ? dataModel()->target().Path : QString();
    WaitCursor wait;
    for (const QString& root : roots) {
        auto* item = new QTreeWidgetItem(m_driveList);
        std::unique_ptr<QPixmap> pixmap(shellIcon(root));
        item->setIcon(MountPoint, QIcon(*pixmap));
        item->setText(MountPoint, root);
        item->setToolTip(MountPoint, root);
        item->setData(MountPoint, Qt::UserRole, root);
        if (root.startsWith(QLatin1String("/dev/"))) {
            // A recorder: probing would spin up its disc, so that waits for OK.
            item->setText(FileSystem, tr("Disc"));
        } else {
            // A mounted volume is probed at once: it shows whether it can be filled.
            const QStorageInfo volume(root);
            item->setText(Label, volume.name());
            item->setText(FileSystem, QString::fromLatin1(volume.fileSystemType()));
            item->setText(Free, sizeText(quint64(qMax<qint64>(volume.bytesAvailable(), 0))));
            item->setTextAlignment(Free, Qt::AlignRight | Qt::AlignVCenter);
            Target record;
            record.Path = root;
            QString problem;
            try {
                if (!controller()->probeTarget(false, record))
                    problem = tr("The drive cannot be read");
            } catch (const TargetError& e) {
                problem = e.message;
            }
            if (problem.isEmpty())
                problem = refusal(record);
            if (problem.isEmpty()) {
                // What it will be filled as, not the mount's "fuseblk".
                item->setText(FileSystem, fileSystemTitle(record.FileSystem));
            } else {
                item->setDisabled(true);
                item->setText(Status, problem);
                for (int c = 0; c < ColumnCount; ++c)
                    item->setToolTip(c, root + QStringLiteral(": ") + problem);
            }
        }
        if (root == current)
            m_driveList->setCurrentItem(item);
    }
    // A medium that is not here, planned as if it were: its figures alone.
    auto* other = new QTreeWidgetItem(m_driveList);
    other->setText(MountPoint, tr("Other..."));
    other->setData(MountPoint, Qt::UserRole, QString());
    for (int c = 0; c < ColumnCount; ++c)
        other->setToolTip(c, tr("Plan as if for a medium you describe: its file system, block "
                                "size and free space"));
    if (dataModel()->hasTarget() && current.isEmpty()) {
        m_figures->setFigures(dataModel()->target());
        m_driveList->setCurrentItem(other);
    }
    for (int c = 0; c < ColumnCount; ++c)
        m_driveList->resizeColumnToContents(c);
    // Wide enough for the longest row, within reason.
    const int wanted = m_driveList->header()->length() + m_picture->sizeHint().width() + 60;
    resize(qMin(qMax(wanted, 480), 900), 360);
}

void EditTarget::on_accept()
{
    const QList<QTreeWidgetItem*> chosen = m_driveList->selectedItems();
    if (chosen.size() == 1 && !chosen.first()->isDisabled())
        applyChoice(chosen.first()->data(0, Qt::UserRole).toString());
}

void EditTarget::on_doubleClicked(const QModelIndex& index)
{
    QTreeWidgetItem* item = m_driveList->topLevelItem(index.row());
    if (item && !item->isDisabled())
        applyChoice(item->data(0, Qt::UserRole).toString());
}

void EditTarget::on_cancel()
{
    close();
}

void EditTarget::on_currentChanged()
{
    const QTreeWidgetItem* item = m_driveList->currentItem();
    const bool recorder =
        item && item->data(0, Qt::UserRole).toString().startsWith(QLatin1String("/dev/"));
    m_discLabel->setVisible(recorder);
    m_discKind->setVisible(recorder);
    // The figures are asked for only while "Other..." is the row chosen.
    m_figures->setVisible(item && item->data(0, Qt::UserRole).toString().isEmpty());
    m_message->hide();
}

void EditTarget::applyChoice(const QString& root)
{
    if (root.isEmpty()) {
        applyFigures();
        return;
    }
    Target record;
    record.Path = root;
    // A recorder's probe keeps UDF when it is asked for.
    if (root.startsWith(QLatin1String("/dev/")))
        record.FileSystem = m_discKind->currentData().toInt();
    QString problem;
    bool probed = false;
    {
        WaitCursor wait;
        try {
            probed = controller()->probeTarget(false, record);
        } catch (const TargetError& e) {
            problem = e.message;
        }
    }
    // Only a fully probed record may reach the model.
    if (problem.isEmpty() && !probed)
        problem = tr("The drive cannot be read");
    if (problem.isEmpty())
        problem = refusal(record);
    if (!problem.isEmpty()) {
        showProblem(problem);
        return;
    }
    dataModel()->setTarget(record);
    done(QDialog::Accepted);
}

// The checks the command line makes of --fs, --block-size and --free-blocks.
void EditTarget::applyFigures()
{
    const Target record = m_figures->figures();
    const QString problem =
        record.AvailableBlocks == 0 ? tr("Enter the free space of the medium.") : refusal(record);
    if (!problem.isEmpty()) {
        showProblem(problem);
        return;
    }
    dataModel()->setTarget(record);
    done(QDialog::Accepted);
}

void EditTarget::showProblem(const QString& text)
{
    m_message->setText(text);
    m_message->show();
}
