#include "gui/EditTarget.h"

#include <memory>

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

#include "control/Ctrl.h"
#include "platform/ShellIcons.h"
#include "core/dispense/TargetDiscovery.h"
#include "core/model/DM.h"
#include "gui/IconSet.h"

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
    m_layout = new QGridLayout;
    m_picture = new QLabel(this);
    m_picture->setPixmap(icon(DiskSelect).pixmap(32, 32, QIcon::Normal, QIcon::Off));
    m_layout->addWidget(m_picture, 0, 0, Qt::AlignTop);
    m_driveList = new QTreeWidget(this);
    m_driveList->setObjectName(QStringLiteral("driveList"));
    m_layout->addWidget(m_driveList, 0, 1);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->hide();
    m_layout->addWidget(m_message, 1, 0, 1, 2);
    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch();
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_buttonRow->addWidget(m_okButton);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_buttonRow->addWidget(m_cancelButton);
    m_layout->addLayout(m_buttonRow, 2, 0, 1, 2);
    setLayout(m_layout);
    resize(300, 300);
    connect(m_driveList, SIGNAL(doubleClicked(const QModelIndex&)), this,
            SLOT(on_doubleClicked(const QModelIndex&)));
    connect(m_cancelButton, SIGNAL(clicked()), this, SLOT(on_cancel()));
    connect(m_okButton, SIGNAL(clicked()), this, SLOT(on_accept()));
    fillDriveList();
}

QString EditTarget::refusal(const Target& target)
{
    if (target.FileSystem == UDF && target.AvailableBlocks <= kUdfReservedBlocks)
        return QStringLiteral("The disc has no room left for files");
    return QString();
}

void EditTarget::fillDriveList()
{
    m_driveList->setColumnCount(2);
    m_driveList->setHeaderHidden(true);
    m_driveList->setRootIsDecorated(false);
    m_driveList->setColumnWidth(0, 32);
    QStringList roots;
    controller()->listDriveRoots(roots);
    for (const QString& root : roots) {
        auto* item = new QTreeWidgetItem(m_driveList);
        QPixmap* pixmap = shellIcon(root);
        QIcon icon;
        icon.addPixmap(*pixmap, QIcon::Normal, QIcon::Off);
        delete pixmap;
        item->setIcon(0, icon);
        item->setText(1, root);
    }
}

void EditTarget::on_accept()
{
    const QList<QTreeWidgetItem*> chosen = m_driveList->selectedItems();
    if (chosen.size() == 1)
        applyChoice(chosen.first()->text(1));
}

void EditTarget::on_doubleClicked(const QModelIndex& index)
{
    if (QTreeWidgetItem* item = m_driveList->topLevelItem(index.row()))
        applyChoice(item->text(1));
}

void EditTarget::on_cancel()
{
    close();
}

void EditTarget::applyChoice(const QString& root)
{
    Target record;
    record.Path = root;
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
        problem = QStringLiteral("The drive cannot be read");
    if (problem.isEmpty())
        problem = refusal(record);
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
