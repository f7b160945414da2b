// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/FiguresRow.h"

#include <cmath>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "core/model/SizeText.h"

namespace {

struct Unit
{
    const char* name;
    double bytes;
};
const Unit units[] = {{"MB", 1e6}, {"GB", 1e9}, {"MiB", 1048576.0}, {"GiB", 1073741824.0}};

} // namespace

FiguresRow::FiguresRow(const QString& spaceLabel, QWidget* parent) : QWidget(parent)
{
    m_fsBox = new QComboBox;
    m_fsBox->setObjectName(QStringLiteral("fileSystem"));
    for (int fs : {NTFS, FAT, EXFAT, EXT4, ISO9660, UDF})
        m_fsBox->addItem(fileSystemTitle(fs), fs);
    m_blockBox = new QComboBox;
    m_blockBox->setObjectName(QStringLiteral("blockSize"));
    m_spaceBox = new QDoubleSpinBox;
    m_spaceBox->setObjectName(QStringLiteral("space"));
    m_spaceBox->setRange(0, 1e6);
    m_spaceBox->setDecimals(2);
    m_spaceBox->setAccelerated(true);
    m_unitBox = new QComboBox;
    m_unitBox->setObjectName(QStringLiteral("unit"));
    for (const Unit& u : units)
        m_unitBox->addItem(QLatin1String(u.name));
    m_unitBox->setCurrentIndex(1);
    fillBlockSizes(NTFS);

    auto* fsLabel = new QLabel(tr("&File system:"));
    fsLabel->setBuddy(m_fsBox);
    auto* blockLabel = new QLabel(tr("&Block size:"));
    blockLabel->setBuddy(m_blockBox);
    auto* spaceText = new QLabel(spaceLabel);
    spaceText->setBuddy(m_spaceBox);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(fsLabel);
    row->addWidget(m_fsBox);
    row->addSpacing(8);
    row->addWidget(blockLabel);
    row->addWidget(m_blockBox);
    row->addSpacing(8);
    row->addWidget(spaceText);
    row->addWidget(m_spaceBox, 1);
    row->addWidget(m_unitBox);

    connect(m_fsBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        fillBlockSizes(m_fsBox->currentData().toInt());
        edited();
    });
    connect(m_blockBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FiguresRow::edited);
    connect(m_spaceBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &FiguresRow::edited);
    connect(m_unitBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FiguresRow::edited);
}

void FiguresRow::edited()
{
    if (m_setting)
        return;
    m_exact = false;
    emit changed();
}

void FiguresRow::fillBlockSizes(int fileSystem)
{
    const quint64 was = m_blockBox->currentData().toULongLong();
    const BlockSizeRange range = blockSizeRange(fileSystem);
    const QSignalBlocker quiet(m_blockBox);
    m_blockBox->clear();
    for (quint64 size = range.smallest; size && size <= range.largest; size *= 2)
        m_blockBox->addItem(size < 1024 ? tr("%1 bytes").arg(size) : sizeText(size), size);
    // The size chosen before where this file system allows it, else the
    // common 4 KiB, else the nearest it has.
    const quint64 wanted = qBound(range.smallest, was ? was : quint64(4096), range.largest);
    m_blockBox->setCurrentIndex(std::max(0, m_blockBox->findData(wanted)));
}

Target FiguresRow::figures() const
{
    if (m_exact)
        return m_given;
    Target t;
    t.FileSystem = m_fsBox->currentData().toInt();
    t.BlockSize = m_blockBox->currentData().toULongLong();
    const double bytes = m_spaceBox->value() * units[m_unitBox->currentIndex()].bytes;
    t.AvailableBlocks = t.BlockSize ? quint64(std::floor(bytes / double(t.BlockSize))) : 0;
    return t;
}

void FiguresRow::setFigures(const Target& t)
{
    const int fs = m_fsBox->findData(t.FileSystem);
    if (fs < 0)
        return;
    m_setting = true;
    m_fsBox->setCurrentIndex(fs);
    fillBlockSizes(t.FileSystem);
    m_blockBox->setCurrentIndex(std::max(0, m_blockBox->findData(t.BlockSize)));
    // In the largest unit that shows it as a whole number, else in GiB.
    const double bytes = double(t.capacity());
    int unit = 3;
    for (int u = 3; u >= 0; --u)
        if (bytes >= units[u].bytes && std::fmod(bytes, units[u].bytes) == 0) {
            unit = u;
            break;
        }
    m_unitBox->setCurrentIndex(unit);
    m_spaceBox->setValue(bytes / units[unit].bytes);
    m_setting = false;
    m_given = t;
    m_given.Path.clear();
    m_exact = true;
    emit changed();
}
