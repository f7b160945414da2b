// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// Display name of group 0..4 ("Dispensed", ..., "Not In Use").
const QString& groupTitle(int group);

// A byte count as text in binary units: "N B" below 1 KiB, else one decimal
// and "KiB", "MiB", "GiB", "TiB", "PiB" or "EiB".
QString sizeText(quint64 bytes);
// The same with three significant digits ("4.38 GiB", "58.0 GiB", "512 MiB"),
// for figures that are told apart by their second decimal.
QString preciseSizeText(quint64 bytes);

// Why an entry of that SizeIssue cannot be measured, as a sentence; empty for
// NoSizeIssue.
QString sizeIssueText(int issue);
