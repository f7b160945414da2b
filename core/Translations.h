// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

// Installs the English plural forms of the texts that take a count
// (tr("%n entries", nullptr, n) reads "1 entry"), once per application.
// English is the source language: these forms are compiled in and are what
// every program, and every test, shows unless a language is installed too.
void installPluralForms();

// Installs the program's translation and Qt's own (the standard dialogs and
// buttons) for the languages of `locale`, the user's by default (LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG, as Qt reads them). Without a translation for
// them the texts stay English. Returns the folder the program's translation
// came from, or an empty string when none was found. Once per application.
QString installTranslations(const QLocale& locale = QLocale::system());

// Where the program looks for its translations (quillmarch_LANG.qm): the
// build tree for a program run from it, else the installed data folder.
QStringList translationFolders();
