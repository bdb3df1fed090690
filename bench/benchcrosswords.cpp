#include "benchcrosswords.h"

CrosswordDocument BenchCrosswords::full()
{
    CrosswordDocument document;
    for (int i = 0; i < CrosswordDocument::CellCount; ++i) {
        document.setLetter(i, QString(QChar(u'а' + (i * 7) % 32)));
        if (i % 5 == 0)
            document.setNumber(i, QString::number(i / 5 + 1));
    }
    const QString words[] = {QStringLiteral("домашнее"), QStringLiteral("животное"),
                             QStringLiteral("большая"),  QStringLiteral("река"),
                             QStringLiteral("в"),        QStringLiteral("сибири"),
                             QStringLiteral("столица"),  QStringLiteral("России")};
    QString clues = QStringLiteral("По горизонтали:");
    for (int line = 1; clues.size() < 5000; ++line) {
        clues += QStringLiteral("\r\n") + QString::number(line) + QStringLiteral(".");
        for (int w = 0; w < 6; ++w)
            clues += u' ' + words[(line + w) % 8];
    }
    document.setClueText(clues);
    return document;
}
