// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/MessageBar.h"

#include <cmath>

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>

namespace {

// More lines than this scroll: the list stays in view.
constexpr int MaxLines = 6;

// The kinds' colours, as desktop message areas use them.
QColor kindColour(MessageBar::Kind kind)
{
    switch (kind) {
    case MessageBar::Positive:
        return QColor(39, 174, 96);
    case MessageBar::Warning:
        return QColor(246, 116, 0);
    case MessageBar::Error:
        return QColor(218, 68, 83);
    case MessageBar::Information:
        break;
    }
    return QColor(61, 174, 233);
}

QColor mix(const QColor& a, const QColor& b, qreal share)
{
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share,
                            a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}

} // namespace

MessageBar::MessageBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("messages"));

    m_icon = new QLabel(this);
    m_icon->setAlignment(Qt::AlignTop);

    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("messageText"));
    m_text->setReadOnly(true);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setFocusPolicy(Qt::ClickFocus);
    // Paths have no blanks to break at: break them anywhere rather than cut them.
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The text on the area's own tint.
    m_text->viewport()->setAutoFillBackground(false);
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("closeMessage"));
    m_close->setAutoRaise(true);
    m_close->setIcon(QIcon::fromTheme(QStringLiteral("dialog-close"),
                                      style()->standardIcon(QStyle::SP_DialogCloseButton)));
    m_close->setToolTip(tr("Close the message"));
    m_close->setAccessibleName(tr("Close the message"));
    connect(m_close, &QToolButton::clicked, this, &MessageBar::clear);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 7, 7, 7); // inside the frame, which stands off the window's edges
    row->addWidget(m_icon, 0, Qt::AlignTop);
    row->addWidget(m_text, 1);
    row->addWidget(m_close, 0, Qt::AlignTop);
    hide();
}

void MessageBar::showMessage(Kind kind, const QString& text)
{
    m_kind = kind;
    static const QStyle::StandardPixmap icons[] = {
        QStyle::SP_MessageBoxInformation, QStyle::SP_DialogApplyButton,
        QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical};
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(icons[kind], nullptr, this).pixmap(side, side));
    m_text->setPlainText(text);
    show();
    update();
    fitText();
}

void MessageBar::clear()
{
    m_text->clear();
    hide();
}

QString MessageBar::text() const
{
    return isHidden() ? QString() : m_text->toPlainText();
}

bool MessageBar::showsAll() const
{
    return !isHidden() && m_text->verticalScrollBar()->maximum() == 0;
}

void MessageBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    fitText();
}

void MessageBar::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    // A tint of the kind over the theme's own window colour, light or dark,
    // framed in the kind's colour.
    const QColor colour = kindColour(m_kind);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(mix(palette().color(QPalette::Window), colour, 0.2));
    painter.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 4, 4);
}

void MessageBar::fitText()
{
    if (isHidden())
        return;
    // The width the text has once laid out beside the icon and the button.
    layout()->activate();
    m_text->document()->setTextWidth(m_text->viewport()->width());
    const qreal margins = 2 * m_text->document()->documentMargin();
    const int lines = m_text->fontMetrics().lineSpacing() * MaxLines + int(margins);
    const int height = int(std::ceil(m_text->document()->size().height()));
    m_text->setFixedHeight(qMin(height, lines) + m_text->frameWidth() * 2);
    m_text->setVerticalScrollBarPolicy(height > lines ? Qt::ScrollBarAsNeeded
                                                      : Qt::ScrollBarAlwaysOff);
}
