#include "plaintext.h"

#include <QLabel>

void PlainText::apply(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
}

QString PlainText::windowTitle(const QString &text)
{
    // Qt shows "[*][*]" as one literal "[*]".
    return QString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}
