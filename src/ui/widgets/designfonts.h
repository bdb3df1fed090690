#pragma once

#include <QFont>

// The fonts the windows were designed with. On Linux the face names resolve
// to the metric-compatible Liberation fonts, which carry Cyrillic.
class DesignFonts
{
public:
    // Registers the face substitutions and the default font of the controls;
    // call once after QApplication exists.
    static void install();

    static QFont defaultFont();     // "MS Sans Serif" 8.25 pt

    static QFont letterCell();     // "Courier New" 21.75 pt bold
    static QFont cluePane();       // "Times New Roman" 12 pt
    static QFont key();            // "MS Sans Serif" 13.5 pt
    static QFont smallKey();       // "MS Sans Serif" 9.75 pt
    static QFont startButton();    // "MS Sans Serif" 9.75 pt, normal weight

private:
    static QFont make(const QString &family, qreal points, QFont::Weight weight);
};
