// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/AboutDlg.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include "gui/IconSet.h"

namespace {
const char* const author = "Quillmarch developers";
const char* const contact = "developers@quillmarch.example.org";
const char* const web = "https://quillmarch.example.org/";

QFont headlineFont(QFont font)
{
    font.setWeight(QFont::Bold);
    if (font.pointSize() > 0)
        font.setPointSize(font.pointSize() + 4);
    else
        font.setPixelSize(font.pixelSize() + 5);
    return font;
}

// A selectable text that looks like a label: no frame, window background.
QLineEdit* makeField(QWidget* dialog, const char* text)
{
    auto* field = new QLineEdit(QLatin1String(text), dialog);
    field->setReadOnly(true);
    field->setFrame(false);
    QPalette pal = field->palette();
    pal.setBrush(QPalette::Base, QBrush(dialog->palette().color(QPalette::Window)));
    field->setPalette(pal);
    // A read-only field keeps its stock width: room for the whole text instead.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(field->text()) +
                           field->fontMetrics().averageCharWidth() * 2);
    return field;
}
} // namespace

AboutDlg::AboutDlg() : QDialog(nullptr)
{
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(icon(MainIcon).pixmap(32, 32, QIcon::Normal, QIcon::Off));

    auto* title = new QLabel(QStringLiteral("Quillmarch"), this);
    title->setObjectName(QStringLiteral("title"));
    title->setFont(headlineFont(title->font()));
    title->setAlignment(Qt::AlignRight | Qt::AlignHCenter | Qt::AlignVCenter);

    auto* version = new QLabel(QStringLiteral(QM_VERSION), this);
    version->setObjectName(QStringLiteral("version"));
    version->setFont(headlineFont(version->font()));

    auto* authorCaption = new QLabel(QStringLiteral("Author"), this);
    auto* mailCaption = new QLabel(QStringLiteral("e-mail"), this);
    QLineEdit* authorField = makeField(this, author);
    authorField->setObjectName(QStringLiteral("author"));
    QLineEdit* mailField = makeField(this, contact);
    mailField->setObjectName(QStringLiteral("email"));

    auto* licence = new QLabel(
        QStringLiteral("Free software under the GNU General Public License, version 3 or "
                       "(at your option) any later version. It comes with no warranty."),
        this);
    licence->setObjectName(QStringLiteral("licence"));
    licence->setWordWrap(true);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* webButton = new QPushButton(QStringLiteral("Visit on the Web"), this);
    webButton->setMinimumWidth(120);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setDefault(true); // Enter closes rather than opening a browser

    auto* grid = new QGridLayout(this);
    grid->setSpacing(10);
    grid->setColumnMinimumWidth(0, 60);
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(title, 0, 1);
    grid->addWidget(version, 0, 2);
    grid->addWidget(authorCaption, 1, 1);
    grid->addWidget(authorField, 1, 2);
    grid->addWidget(mailCaption, 2, 1);
    grid->addWidget(mailField, 2, 2);
    grid->addWidget(licence, 3, 1, 1, 2);
    grid->setRowMinimumHeight(3, 15);
    grid->addWidget(line, 4, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    buttons->addWidget(webButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    grid->addLayout(buttons, 5, 0, 1, 3);

    connect(webButton, &QPushButton::clicked, this, &AboutDlg::on_commandWeb);
    connect(closeButton, &QPushButton::clicked, this, &AboutDlg::on_commandClose);

    setWindowTitle(QStringLiteral("About"));
    adjustSize();
    setWindowFlags(windowFlags() | Qt::Tool);
    activateWindow();
    raise();
    setFocus(Qt::OtherFocusReason);
}

QString AboutDlg::webAddress()
{
    return QLatin1String(web);
}

void AboutDlg::on_commandWeb()
{
    QDesktopServices::openUrl(QUrl(webAddress(), QUrl::TolerantMode));
}

void AboutDlg::on_commandClose()
{
    close();
}
