#include "form2.h"

#include "designfonts.h"
#include "twips.h"

#include <QPlainTextEdit>

const QString Form2::AboutText = QStringLiteral("Школьная мастерская «Кварцелла»\r\n"
                                                "Учитель: И. В. Лебедева\r\n"
                                                "Сайт: www.kvarcella.example\r\n"
                                                "Почта: kvarcella@example.org");

Form2::Form2(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Кварцелла 2.0"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(3765, 1710));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setReadOnly(true);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setGeometry(Twips::toPixels(TwipRect{120, 240, 3495, 1215}));
    m_text->setFont(DesignFonts::startButton());
    QPalette p = m_text->palette();
    p.setColor(QPalette::Base, palette().color(QPalette::Window));
    m_text->setPalette(p);
}

void Form2::load()
{
    QString text = AboutText;
    m_text->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}
