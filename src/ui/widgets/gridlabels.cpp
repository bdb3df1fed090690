#include "gridlabels.h"

#include "clickablelabel.h"
#include "crossworddocument.h"
#include "designfonts.h"
#include "twips.h"

#include <QPalette>

GridLabels::GridLabels(QWidget *clientArea, GridGeometry::Window window)
    : QObject(clientArea), m_client(clientArea), m_window(window)
{
    // Element 0 as designed: opaque in the system window colour, blue letters.
    ClickableLabel *letter = new ClickableLabel(m_client);
    letter->setObjectName(QStringLiteral("Label1"));
    letter->setIndex(0);
    letter->setAutoFillBackground(true);
    QPalette palette = letter->palette();
    palette.setColor(QPalette::Window, m_client->palette().color(QPalette::Base));
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    letter->setPalette(palette);
    letter->setAlignment(Qt::AlignRight | Qt::AlignTop);
    letter->setFont(DesignFonts::letterCell());
    letter->setGeometry(Twips::toPixels(GridGeometry::letterLabel(0, m_window)));
    connect(letter, &ClickableLabel::clicked, this, [this] { emit letterClicked(0); });
    m_letters[0] = letter;

    ClickableLabel *number = new ClickableLabel(m_client);
    number->setObjectName(QStringLiteral("Label2"));
    number->setIndex(0);
    number->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    number->setGeometry(Twips::toPixels(GridGeometry::numberLabel(0)));
    connect(number, &ClickableLabel::clicked, this, [this] { emit numberClicked(0); });
    m_numbers[0] = number;
    number->raise();
}

ClickableLabel *GridLabels::makeLetter(int cell)
{
    const ClickableLabel *model = m_letters[0];
    ClickableLabel *label = new ClickableLabel(m_client);
    label->setObjectName(model->objectName());
    label->setIndex(cell);
    label->setAutoFillBackground(true);
    label->setPalette(model->palette());
    label->setTextFormat(model->textFormat());
    label->setAlignment(model->alignment());
    label->setFont(model->font());
    label->setText(model->text());
    label->setGeometry(Twips::toPixels(GridGeometry::letterLabel(cell, m_window)));
    connect(label, &ClickableLabel::clicked, this, [this, cell] { emit letterClicked(cell); });
    return label;
}

ClickableLabel *GridLabels::makeNumber(int cell)
{
    const ClickableLabel *model = m_numbers[0];
    ClickableLabel *label = new ClickableLabel(m_client);
    label->setObjectName(model->objectName());
    label->setIndex(cell);
    label->setTextFormat(model->textFormat());
    label->setAlignment(model->alignment());
    label->setText(model->text());
    label->setGeometry(Twips::toPixels(GridGeometry::numberLabel(cell)));
    connect(label, &ClickableLabel::clicked, this, [this, cell] { emit numberClicked(cell); });
    return label;
}

void GridLabels::createElements()
{
    if (hasElements())
        return;
    // Letter labels first, then number labels: later siblings are drawn and
    // hit above earlier ones, so every number label lies above the letter
    // labels without 400 calls to raise().
    for (int i = 1; i < CrosswordDocument::CellCount; ++i) {
        m_letters[i] = makeLetter(i);
        m_letters[i]->show();
    }
    m_numbers[0]->raise();
    for (int i = 1; i < CrosswordDocument::CellCount; ++i) {
        m_numbers[i] = makeNumber(i);
        m_numbers[i]->show();
    }
}

ClickableLabel *GridLabels::letterLabel(int cell) const
{
    Q_ASSERT(cell >= 0 && cell < CrosswordDocument::CellCount);
    return m_letters[cell];
}

ClickableLabel *GridLabels::numberLabel(int cell) const
{
    Q_ASSERT(cell >= 0 && cell < CrosswordDocument::CellCount);
    return m_numbers[cell];
}

void GridLabels::setBackground(ClickableLabel *label, const QColor &colour)
{
    if (label->palette().color(QPalette::Window) == colour)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

QColor GridLabels::background(const ClickableLabel *label)
{
    return label->palette().color(QPalette::Window);
}

void GridLabels::setCaption(ClickableLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}
