// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Installs the English plural forms of the texts that take a count
// (tr("%n entries", nullptr, n) reads "1 entry"), once per application.
// Every program that links the controller gets them when its application
// object is made; the command line, which does not, keeps its texts as they are.
void installPluralForms();
