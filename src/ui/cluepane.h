#pragma once

#include <QPlainTextEdit>

// The clue pane Text3: a multi-line text box with a vertical scroll bar whose
// alignment, font size and colour apply to the whole text. Text goes in and
// out with CR LF line breaks, as the crossword file keeps them. A plain-text
// editor lays out only what is on screen, which keeps long clues cheap.
class CluePane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CluePane(QWidget *parent = nullptr);

    void setText(const QString &crlfText);
    QString text() const;

    void setTextAlignment(Qt::Alignment alignment);
    Qt::Alignment textAlignment() const;
    void setFontSize(qreal points);
    qreal fontSize() const;
    void setTextColour(const QColor &colour);
    QColor textColour() const;

signals:
    // Any mouse button went down in the text; the pane still takes the click.
    void pressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyAlignment();

    Qt::Alignment m_alignment = Qt::AlignLeft;
};
