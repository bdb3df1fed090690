#include "designfonts.h"

#include <QApplication>
#include <QStringList>

void DesignFonts::install()
{
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    // Controls without a font of their own use the designer's default.
    QApplication::setFont(defaultFont());
}

QFont DesignFonts::defaultFont()
{
    return make(QStringLiteral("MS Sans Serif"), 8.25, QFont::Normal);
}

QFont DesignFonts::make(const QString &family, qreal points, QFont::Weight weight)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QFont DesignFonts::letterCell()
{
    return make(QStringLiteral("Courier New"), 21.75, QFont::Bold);
}

QFont DesignFonts::cluePane()
{
    return make(QStringLiteral("Times New Roman"), 12, QFont::Normal);
}

QFont DesignFonts::key()
{
    return make(QStringLiteral("MS Sans Serif"), 13.5, QFont::Normal);
}

QFont DesignFonts::smallKey()
{
    return make(QStringLiteral("MS Sans Serif"), 9.75, QFont::Normal);
}

QFont DesignFonts::startButton()
{
    return make(QStringLiteral("MS Sans Serif"), 9.75, QFont::Normal);
}
