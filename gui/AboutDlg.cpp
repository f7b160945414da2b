// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/AboutDlg.h"

#include <QDesktopServices>
#include <QFileInfo>
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
const char* const licenceAddress = "https://www.gnu.org/licenses/gpl-3.0.html";

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

QLabel* makeText(QWidget* dialog, const QString& richText, const char* name)
{
    auto* label = new QLabel(richText, dialog);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    return label;
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
    QLineEdit* authorField = makeField(this, author);
    authorField->setObjectName(QStringLiteral("author"));

    QLabel* licence = makeText(
        this,
        tr("Free software under the <a href=\"%1\">GNU General Public License</a>, version 3 "
           "or (at your option) any later version. It comes with no warranty.")
            .arg(QLatin1String(licenceAddress)),
        "licence");
    const QString guide = guidePath();
    QLabel* documentation = makeText(
        this,
        tr("The manual: <tt>man quillmarch</tt> for the window and <tt>man quillmarch-cli</tt> "
           "for the command line; the guide: %1.")
            .arg(QFileInfo::exists(guide) ? guide.toHtmlEscaped() : tr("README.md in the sources")),
        "documentation");

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* guideButton = new QPushButton(tr("Open the &Guide"), this);
    guideButton->setObjectName(QStringLiteral("guideButton"));
    guideButton->setEnabled(QFileInfo::exists(guide));
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setDefault(true); // Enter closes rather than opening another program

    auto* grid = new QGridLayout(this);
    grid->setSpacing(10);
    grid->setColumnMinimumWidth(0, 60);
    grid->setColumnStretch(2, 1);
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(title, 0, 1);
    grid->addWidget(version, 0, 2);
    grid->addWidget(authorCaption, 1, 1);
    grid->addWidget(authorField, 1, 2);
    grid->addWidget(licence, 2, 1, 1, 2);
    grid->addWidget(documentation, 3, 1, 1, 2);
    grid->addWidget(line, 4, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    buttons->addWidget(guideButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    grid->addLayout(buttons, 5, 0, 1, 3);

    connect(guideButton, &QPushButton::clicked, this, &AboutDlg::on_commandGuide);
    connect(closeButton, &QPushButton::clicked, this, &AboutDlg::on_commandClose);

    setWindowTitle(QStringLiteral("About"));
    // Wide enough for the texts to wrap into a few lines.
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    adjustSize();
    setWindowFlags(windowFlags() | Qt::Tool);
    activateWindow();
    raise();
    setFocus(Qt::OtherFocusReason);
}

QString AboutDlg::guidePath()
{
    return QStringLiteral(QM_DOCDIR "/README.md");
}

void AboutDlg::on_commandGuide()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(guidePath()));
}

void AboutDlg::on_commandClose()
{
    close();
}
