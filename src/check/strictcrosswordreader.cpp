#include "strictcrosswordreader.h"

#include "crosswordcheck.h"
#include "crosswordfile.h"
#include "crosswordfileerror.h"
#include "utf8text.h"
#include "windows1251.h"

#include <QStringDecoder>

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// What is wrong with one record line, or nothing.
QString recordProblem(QByteArrayView line)
{
    if (line.isEmpty())
        return QStringLiteral("пустая строка");
    if (line[0] != '"')
        return QStringLiteral("запись клетки должна начинаться с кавычки");
    const qsizetype firstClose = line.indexOf('"', 1);
    if (firstClose < 0)
        return QStringLiteral("у первого поля нет закрывающей кавычки");
    qsizetype at = firstClose + 1;
    if (at == line.size())
        return QStringLiteral("в записи одно поле, а нужно два");
    if (line[at] != ',')
        return QStringLiteral("после первого поля нет запятой");
    if (++at == line.size() || line[at] != '"')
        return QStringLiteral("второе поле не в кавычках");
    const qsizetype secondClose = line.indexOf('"', at + 1);
    if (secondClose < 0)
        return QStringLiteral("у второго поля нет закрывающей кавычки");
    if (secondClose + 1 == line.size())
        return {};
    return line[secondClose + 1] == ',' ? QStringLiteral("в записи больше двух полей")
                                        : QStringLiteral("после второго поля лишние символы");
}

// The line as the reader would decode it, cut short and safe for a terminal.
QString shownLine(QByteArrayView bytes, QByteArrayView line)
{
    constexpr qsizetype Limit = 40;
    const QString text =
        Utf8Text::looksLikeUtf8(bytes) ? QString::fromUtf8(line) : Windows1251::decode(line);
    const QString safe = CrosswordCheck::printable(text.left(Limit));
    return text.size() > Limit ? safe + QStringLiteral("…") : safe;
}

} // namespace

QString StrictCrosswordReader::problem(QByteArrayView bytes, const QString &fileName)
{
    const QString name = QStringLiteral("«%1»").arg(fileName);
    CrosswordFileError notText;
    if (!CrosswordFile::isText(bytes, &notText))
        return notText.withFileName(fileName).message();

    // A byte order mark only where the whole file reads as UTF-8: elsewhere the
    // windows read its bytes as three letters of the first record.
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") && Utf8Text::looksLikeUtf8(bytes) ? 3 : 0;
    for (int line = 1; line <= CrosswordDocument::CellCount; ++line) {
        if (at == bytes.size() && line == 1)
            return QStringLiteral("Файл %1 пуст, а в файле кроссворда %2 записей клеток.")
                .arg(name)
                .arg(CrosswordDocument::CellCount);
        if (at == bytes.size())
            return QStringLiteral("Файл %1 повреждён или не дописан: он кончается на строке %2, "
                                  "а записей клеток должно быть %3.")
                .arg(name)
                .arg(line - 1)
                .arg(CrosswordDocument::CellCount);
        qsizetype end = at;
        while (end < bytes.size() && !isLineEnd(bytes[end]))
            ++end;
        const QByteArrayView record = bytes.sliced(at, end - at);
        const QString what = recordProblem(record);
        if (!what.isEmpty()) {
            const QString shown =
                record.isEmpty() ? QString() : QStringLiteral(" («%1»)").arg(shownLine(bytes, record));
            return QStringLiteral("Файл %1 — не кроссворд или повреждён: строка %2%3 — %4. "
                                  "Первые %5 строк файла кроссворда — записи клеток вида "
                                  "\"буква\",\"номер\".")
                .arg(name)
                .arg(line)
                .arg(shown, what)
                .arg(CrosswordDocument::CellCount);
        }
        at = end;
        if (at < bytes.size() && bytes[at] == '\r')
            ++at;
        if (at < bytes.size() && bytes[at] == '\n')
            ++at;
    }
    return {};
}

bool StrictCrosswordReader::read(const QString &path, CrosswordDocument *document,
                                 QString *message)
{
    // A name holding an escape sequence would otherwise reach the terminal.
    const QString name = CrosswordCheck::printable(path);
    QByteArray bytes;
    CrosswordFileError error;
    if (!CrosswordFile::readBytes(path, &bytes, &error)) {
        *message = error.withFileName(name).message();
        return false;
    }
    *message = problem(bytes, name);
    if (!message->isEmpty())
        return false;
    if (!CrosswordFile::decode(bytes, document, &error)) {
        *message = error.withFileName(name).message();
        return false;
    }
    return true;
}
