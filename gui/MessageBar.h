// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;
class QTextEdit;
class QToolButton;

// The window's inline message area above the list, for errors and results:
// the whole text, wrapped (a long path is broken where it must be), in the
// colours of its kind, with a button that closes it. Hidden while there is no
// message. A long message scrolls within a few lines; it can be selected and
// copied.
class MessageBar : public QFrame
{
    Q_OBJECT
public:
    enum Kind
    {
        Information,
        Positive,
        Warning,
        Error
    };

    explicit MessageBar(QWidget* parent = nullptr);

    // Shows text, replacing any message shown.
    void showMessage(Kind kind, const QString& text);
    // Hides the message, as the close button does.
    void clear();

    QString text() const;
    Kind kind() const { return m_kind; }
    // True while the whole text is in view, without scrolling.
    bool showsAll() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Sets the height that shows the text whole, or the most lines allowed.
    void fitText();

    Kind m_kind = Information;
    QLabel* m_icon;
    QTextEdit* m_text;
    QToolButton* m_close;
};
