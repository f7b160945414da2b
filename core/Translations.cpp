// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QTranslator* loadedTranslator(const QLocale& locale, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

QString qtTranslationsFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

} // namespace

void installPluralForms()
{
    static QTranslator* installed = nullptr;
    if (installed || !QCoreApplication::instance())
        return;
    // A static library keeps its resources only when asked for them by name.
    Q_INIT_RESOURCE(plurals);
    installed = loadedTranslator(QLocale(QLocale::English), QStringLiteral("quillmarch"),
                                 QStringLiteral(":/Quillmarch/i18n"));
}

// Before the first window is built, in every program that links this.
Q_COREAPP_STARTUP_FUNCTION(installPluralForms)

QStringList translationFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    // A program of the build tree takes the translations built beside it, not
    // those of an older installation.
    const QString built = QStringLiteral(QM_BUILD_TRANSLATIONS_DIR);
    const QString buildTree = QDir::cleanPath(built + QStringLiteral("/.."));
    if (programFolder == buildTree || programFolder.startsWith(buildTree + QLatin1Char('/')))
        return {built};
    // Relative first, so that a moved installation finds its own.
    return {QDir::cleanPath(programFolder + QStringLiteral("/../share/quillmarch/translations")),
            QStringLiteral(QM_TRANSLATIONS_DIR)};
}

QString installTranslations(const QLocale& locale)
{
    static bool done = false;
    if (done || !QCoreApplication::instance())
        return QString();
    done = true;
    installPluralForms();
    // Qt's first, so that the program's own texts win where both have one.
    loadedTranslator(locale, QStringLiteral("qtbase"), qtTranslationsFolder());
    for (const QString& folder : translationFolders()) {
        if (loadedTranslator(locale, QStringLiteral("quillmarch"), folder))
            return folder;
    }
    return QString();
}
