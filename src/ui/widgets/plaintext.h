#pragma once

#include <QString>

class QLabel;

// Text that came from a file, a file name or the user is shown as typed:
// never as markup, never with Qt's title placeholder taking effect.
class PlainText
{
public:
    // Keeps a label from guessing that its caption is rich text.
    static void apply(QLabel *label);
    // A window title that shows "[*]" literally instead of hiding it as the
    // "modified" placeholder.
    static QString windowTitle(const QString &text);
};
