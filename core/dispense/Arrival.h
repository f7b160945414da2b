// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct Entry;

// Whether a dispensed entry's copy is on the target, checked before its
// original goes to the trash.
enum class Arrival { Arrived, NotFound, Different };

struct ArrivalCheck
{
    Arrival state = Arrival::NotFound;
    QString detail; // Different: the first thing that differs, as a phrase
};

// Looks in each of places, in order, for an item of entry's name: a file of
// the original's size, or a folder holding every file of the original at the
// same relative path with the same size (links need only exist). The
// original itself, or a copy inside it or around it, never counts.
ArrivalCheck checkArrival(const Entry& entry, const QStringList& places);
