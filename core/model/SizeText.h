#pragma once

#include <QString>
#include <QtGlobal>

// Display name of group 0..4 ("Dispensed", ..., "Not In Use").
const QString& groupTitle(int group);

// A byte count as text: one decimal and "kb", "Mb", "Gb", "TB" or "EB" above
// 1024 bytes, the plain number otherwise.
QString sizeText(quint64 bytes);

// Why an entry of that SizeIssue cannot be measured, as a sentence; empty for
// NoSizeIssue.
QString sizeIssueText(int issue);
