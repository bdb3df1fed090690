#include "crosswordfileerror.h"

#include "crosswordfile.h"

CrosswordFileError CrosswordFileError::about(Kind kind, const QString &fileName)
{
    CrosswordFileError e;
    e.m_kind = kind;
    e.m_fileName = fileName;
    return e;
}

CrosswordFileError CrosswordFileError::notFound(const QString &fileName)
{
    return about(Kind::NotFound, fileName);
}

CrosswordFileError CrosswordFileError::notAFile(const QString &fileName)
{
    return about(Kind::NotAFile, fileName);
}

CrosswordFileError CrosswordFileError::unreadable(const QString &fileName, const QString &reason)
{
    CrosswordFileError e = about(Kind::Unreadable, fileName);
    e.m_reason = reason;
    return e;
}

CrosswordFileError CrosswordFileError::tooLarge(const QString &fileName, qint64 size)
{
    CrosswordFileError e = about(Kind::TooLarge, fileName);
    e.m_size = size;
    return e;
}

CrosswordFileError CrosswordFileError::truncated(const QString &fileName, int record)
{
    CrosswordFileError e = about(Kind::Truncated, fileName);
    e.m_record = record;
    return e;
}

CrosswordFileError CrosswordFileError::cannotWrite(const QString &fileName, const QString &reason,
                                                   bool existed)
{
    CrosswordFileError e = about(Kind::CannotWrite, fileName);
    e.m_reason = reason;
    e.m_existed = existed;
    return e;
}

CrosswordFileError CrosswordFileError::partlyWritten(const QString &fileName, const QString &reason)
{
    CrosswordFileError e = about(Kind::PartlyWritten, fileName);
    e.m_reason = reason;
    return e;
}

CrosswordFileError CrosswordFileError::tooLargeToSave(const QString &fileName, qint64 size)
{
    CrosswordFileError e = about(Kind::TooLargeToSave, fileName);
    e.m_size = size;
    return e;
}

CrosswordFileError CrosswordFileError::misreadable(const QString &fileName)
{
    return about(Kind::Misreadable, fileName);
}

CrosswordFileError CrosswordFileError::utf16(const QString &fileName)
{
    return about(Kind::Utf16, fileName);
}

CrosswordFileError CrosswordFileError::notText(const QString &fileName)
{
    return about(Kind::NotText, fileName);
}

CrosswordFileError CrosswordFileError::notTextToSave(const QString &fileName)
{
    return about(Kind::NotTextToSave, fileName);
}

CrosswordFileError CrosswordFileError::unencodable(const QString &fileName, char32_t character,
                                                   int cell, int line, int column)
{
    CrosswordFileError e = about(Kind::Unencodable, fileName);
    e.m_character = character;
    e.m_cell = cell;
    e.m_line = line;
    e.m_column = column;
    return e;
}

CrosswordFileError CrosswordFileError::withFileName(const QString &fileName) const
{
    CrosswordFileError e = *this;
    e.m_fileName = fileName;
    return e;
}

QString CrosswordFileError::message() const
{
    const QString name = QStringLiteral("«%1»").arg(m_fileName);
    switch (m_kind) {
    case Kind::None:
        return {};
    case Kind::NotFound:
        return QStringLiteral("Файл %1 не найден.").arg(name);
    case Kind::NotAFile:
        return QStringLiteral("%1 — не файл кроссворда: это папка или устройство.").arg(name);
    case Kind::Unreadable:
        return QStringLiteral("Не удалось прочитать файл %1: %2.").arg(name, m_reason);
    case Kind::TooLarge:
        return QStringLiteral("Файл %1 слишком велик для кроссворда: %2 байт, а допускается не "
                              "более %3.")
            .arg(name, QString::number(m_size), QString::number(CrosswordFile::MaxFileSize));
    case Kind::Truncated:
        return QStringLiteral("Файл %1 повреждён или не дописан: он кончается на записи %2 из %3, "
                              "до конца сетки кроссворда.")
            .arg(name, QString::number(m_record + 1), QString::number(400));
    case Kind::CannotWrite:
        if (!m_existed)
            return QStringLiteral("Не удалось сохранить файл %1: %2.").arg(name, m_reason);
        return QStringLiteral("Не удалось сохранить файл %1: %2. Прежнее содержимое файла не "
                              "изменено.")
            .arg(name, m_reason);
    case Kind::PartlyWritten:
        return QStringLiteral("Файл %1 записан не полностью: %2. Прежнее содержимое файла "
                              "утрачено, а новое записано не целиком. Сохраните кроссворд ещё "
                              "раз, если нужно — под другим именем.")
            .arg(name, m_reason);
    case Kind::TooLargeToSave:
        // Every character is one byte in the file, so bytes over are characters to cut.
        return QStringLiteral("Файл %1 не сохранён: кроссворд занял бы %2 байт, а открыть "
                              "можно файл не больше %3 байт. Сократите текст вопросов; "
                              "удалить нужно не меньше такого числа символов: %4.")
            .arg(name, QString::number(m_size), QString::number(CrosswordFile::MaxFileSize),
                 QString::number(m_size - CrosswordFile::MaxFileSize));
    case Kind::Misreadable:
        return QStringLiteral("Файл %1 не сохранён: в клетках нет ни одной русской буквы, и при "
                              "открытии текст вопросов прочитался бы искажённым. Впишите в "
                              "сетку хотя бы одну букву или измените текст вопросов и "
                              "сохраните снова.")
            .arg(name);
    case Kind::Utf16:
        return QStringLiteral("Файл %1 записан в кодировке UTF-16, а файл кроссворда бывает "
                              "только в Windows-1251 или UTF-8. Сохраните его в одной из них "
                              "(например, в текстовом редакторе).")
            .arg(name);
    case Kind::NotText:
        return QStringLiteral("Файл %1 — не кроссворд: это не текст, а, например, рисунок или "
                              "документ (управляющих символов в нём больше, чем строк). Файл "
                              "кроссворда — текст в кодировке Windows-1251 или UTF-8.")
            .arg(name);
    case Kind::NotTextToSave:
        return QStringLiteral("Файл %1 не сохранён: в кроссворде больше управляющих символов, "
                              "чем строк, и такой файл не открылся бы как текст. Удалите эти "
                              "символы из текста вопросов и сохраните снова.")
            .arg(name);
    case Kind::Unencodable: {
        const QString character = QString::fromUcs4(&m_character, 1);
        const QString code =
            QStringLiteral("U+%1").arg(static_cast<uint>(m_character), 4, 16, QLatin1Char('0')).toUpper();
        const QString where =
            m_cell >= 0
                ? QStringLiteral("в клетке %1 (строка %2, столбец %3)")
                      .arg(m_cell + 1)
                      .arg(m_cell / 20 + 1)
                      .arg(m_cell % 20 + 1)
                : QStringLiteral("в тексте вопросов, строка %1, позиция %2").arg(m_line).arg(m_column);
        // Cell values are written between quotes, so a quote cannot stand in one.
        const QString reason = m_character == U'"'
                                   ? QStringLiteral("в файле кроссворда значение клетки не может "
                                                    "содержать кавычку")
                                   : QStringLiteral("его нет в кодировке Windows-1251");
        return QStringLiteral("Файл %1 не сохранён: символ «%2» (%3) %4 нельзя записать — %5. "
                              "Замените его и сохраните снова.")
            .arg(name, character, code, where, reason);
    }
    }
    return {};
}
