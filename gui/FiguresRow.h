// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "core/model/Entry.h"

class QComboBox;
class QDoubleSpinBox;

// A medium described by its figures, to plan as if it were there: the file
// system (by the name a user knows), a block size that file system allows,
// and the free space in a unit of the user's choice. The block sizes on offer
// follow the file system.
class FiguresRow : public QWidget
{
    Q_OBJECT
public:
    // spaceLabel: the label of the free space field, with its mnemonic.
    FiguresRow(const QString& spaceLabel, QWidget* parent = nullptr);

    // The medium described: no Path, AvailableBlocks the whole blocks of the
    // space given.
    Target figures() const;
    // Shows the figures of t (its file system and block size, its capacity);
    // figures() gives t itself until the user changes one.
    void setFigures(const Target& t);

signals:
    void changed();

private:
    void fillBlockSizes(int fileSystem);
    void edited();

    QComboBox* m_fsBox;
    QComboBox* m_blockBox;
    QDoubleSpinBox* m_spaceBox;
    QComboBox* m_unitBox;
    Target m_given;       // as set, which the fields may show rounded
    bool m_exact = false; // m_given is what the fields describe
    bool m_setting = false;
};
