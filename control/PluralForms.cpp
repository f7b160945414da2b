// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/PluralForms.h"

#include <QCoreApplication>
#include <QTranslator>

void installPluralForms()
{
    static QTranslator* installed = nullptr;
    if (installed || !QCoreApplication::instance())
        return;
    // A static library keeps its resources only when asked for them by name.
    Q_INIT_RESOURCE(plurals);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/Quillmarch/i18n/quillmarch_en.qm")) &&
        QCoreApplication::installTranslator(translator))
        installed = translator;
    else
        delete translator;
}

// Before the first window is built, in every program that links this.
Q_COREAPP_STARTUP_FUNCTION(installPluralForms)
