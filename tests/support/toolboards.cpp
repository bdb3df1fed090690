#include "toolboards.h"

#include "boardtext.h"

QString cleanClueText()
{
    return QStringLiteral("По горизонтали:\r\n3. Там учатся дети.\r\n4. В ней пишут на уроке.\r\n"
                          "\r\nПо вертикали:\r\n1. Ею пишут.\r\n"
                          "2. Её читают по утрам, чтобы узнать новости.\r\n");
}

CrosswordDocument cleanCrossword()
{
    return boardFromRows({"..р", "..у..г", ".школа", "..а..з", ".....е", ".....тетрадь", ".....а"},
                         {{2, "1"}, {25, "2"}, {41, "3"}, {105, "4"}}, cleanClueText());
}
