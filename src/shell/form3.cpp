#include "form3.h"

#include "designfonts.h"
#include "twips.h"

#include <QPushButton>
#include <cmath>

Form3::Form3(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Кварцелла 2.0"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(3780, 2925));

    m_open = new QPushButton(QStringLiteral("открыть"), this);
    m_open->setObjectName(QStringLiteral("Command1"));
    m_open->setGeometry(Twips::toPixels(TwipRect{1080, 720, 1545, 495}));
    m_open->setFont(DesignFonts::startButton());
    connect(m_open, &QPushButton::clicked, this, &Form3::openClicked);

    m_create = new QPushButton(QStringLiteral("создать"), this);
    m_create->setObjectName(QStringLiteral("Command2"));
    m_create->setGeometry(Twips::toPixels(TwipRect{1080, 1680, 1545, 495}));
    m_create->setFont(DesignFonts::startButton());
    connect(m_create, &QPushButton::clicked, this, &Form3::createClicked);

    setTabOrder(m_open, m_create);
    m_open->setDefault(true);
    m_open->setFocus();
}

void Form3::moveByTwips(float leftTwips, float topTwips)
{
    const QPoint at = pos();
    const float left = float(Twips::fromPixels(at.x())) + leftTwips;
    const float top = float(Twips::fromPixels(at.y())) + topTwips;
    move(int(std::lround(left / Twips::PerPixel)), int(std::lround(top / Twips::PerPixel)));
}
