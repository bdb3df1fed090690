#include "wordlist.h"

#include "filefailurereason.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cerrno>

namespace {

constexpr const char *CodePage = "windows-1251";

bool isRussianLetter(QChar c)
{
    return c >= u'а' && c <= u'я';
}

// A character named so that a teacher can find it in her file.
QString describe(QChar c)
{
    if (c == u' ')
        return QStringLiteral("пробел");
    if (c == u'\t')
        return QStringLiteral("табуляция");
    return QStringLiteral("«%1»").arg(c);
}

// The first character of text that Windows-1251 cannot hold, or "" when all fit.
QString firstUnencodable(const QString &text)
{
    QStringEncoder encoder(CodePage);
    QStringDecoder decoder(CodePage);
    const QString back = decoder.decode(encoder.encode(text));
    if (back == text)
        return {};
    qsizetype i = 0;
    while (i < text.size() && i < back.size() && back[i] == text[i])
        ++i;
    if (i >= text.size())
        i = text.size() - 1;
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
    return text.sliced(i, pair ? 2 : 1);
}

// The earliest separator on the line; length 0 when there is none.
struct Split
{
    qsizetype at = -1;
    qsizetype length = 0;
};

Split findSeparator(QStringView line)
{
    // The en dash is what word processors make of " - " as one types.
    static const std::array<QStringView, 5> separators = {u" - ", u" — ", u" – ", u":", u"\t"};
    Split best;
    for (QStringView separator : separators) {
        const qsizetype at = line.indexOf(separator);
        if (at >= 0 && (best.at < 0 || at < best.at)) {
            best.at = at;
            best.length = separator.size();
        }
    }
    return best;
}

} // namespace

WordList WordList::parse(QByteArrayView bytes)
{
    WordList list;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder cp1251(CodePage);
        text = cp1251.decode(bytes);
        list.m_encoding = Encoding::Windows1251;
    }
    // The decoder leaves a byte order mark in the text.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    // A CR left inside a clue would break the clue text into two lines, so a
    // lone CR ends a line as CR LF and LF do.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        list.addLine(static_cast<int>(i) + 1, lines[i]);
    return list;
}

bool WordList::read(const QString &path, WordList *list, QString *error)
{
    const QString name = QStringLiteral("«%1»").arg(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("Файл %1 не найден.").arg(name);
        return false;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("%1 — не файл со словами: это папка или устройство.").arg(name);
        return false;
    }
    if (info.size() > MaxFileSize) {
        *error = QStringLiteral("Файл %1 слишком велик для списка слов: %2 байт, а допускается не "
                                "более %3.")
                     .arg(name, QString::number(info.size()), QString::number(MaxFileSize));
        return false;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const QString reason = errno != 0 ? FileFailureReason::fromErrno(errno)
                                          : FileFailureReason::fromFileError(file.error());
        *error = QStringLiteral("Не удалось прочитать файл %1: %2.").arg(name, reason);
        return false;
    }
    // Read one byte past the limit: the size seen above may have changed since.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Не удалось прочитать файл %1: %2.")
                     .arg(name, FileFailureReason::fromFileError(file.error()));
        return false;
    }
    if (bytes.size() > MaxFileSize) {
        *error = QStringLiteral("Файл %1 слишком велик для списка слов.").arg(name);
        return false;
    }
    *list = parse(bytes);
    return true;
}

void WordList::reject(int line, const QString &message)
{
    m_problems.append({line, QStringLiteral("Строка %1: %2").arg(QString::number(line), message)});
}

void WordList::addLine(int number, QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (m_full || trimmed.isEmpty() || trimmed.startsWith(u'#'))
        return;

    const Split split = findSeparator(line);
    if (split.at < 0) {
        reject(number, QStringLiteral("нет разделителя между словом и вопросом (« - », « — », "
                                      "«:» или табуляция)."));
        return;
    }
    const QString written = line.first(split.at).trimmed().toString();
    const QString clue = line.sliced(split.at + split.length).trimmed().toString();
    if (written.isEmpty()) {
        reject(number, QStringLiteral("перед разделителем нет слова."));
        return;
    }

    Entry entry;
    entry.line = number;
    entry.clue = clue;
    entry.written = written;
    entry.answer = written.toLower();
    if (entry.answer.contains(u'ё')) {
        entry.answer.replace(u'ё', u'е');
        entry.yoReplaced = true;
    }
    for (QChar c : entry.answer) {
        if (!isRussianLetter(c)) {
            reject(number, QStringLiteral("в слове «%1» есть %2, а в кроссворд идут только "
                                          "русские буквы.")
                               .arg(written, describe(c)));
            return;
        }
    }
    if (entry.answer.size() < MinLength) {
        reject(number, QStringLiteral("слово «%1» короче двух букв.").arg(written));
        return;
    }
    if (entry.answer.size() > MaxLength) {
        reject(number, QStringLiteral("слово «%1» длиннее %2 букв: оно не поместится в сетку.")
                           .arg(written, QString::number(MaxLength)));
        return;
    }
    if (clue.isEmpty()) {
        reject(number, QStringLiteral("у слова «%1» нет вопроса.").arg(written));
        return;
    }
    const QString bad = firstUnencodable(clue);
    if (!bad.isEmpty()) {
        reject(number, QStringLiteral("в вопросе к слову «%1» есть символ «%2», которого нет в "
                                      "кодировке Windows-1251: файл кроссворда его не сохранит.")
                           .arg(written, bad));
        return;
    }
    const auto earlier = m_lineOfAnswer.constFind(entry.answer);
    if (earlier != m_lineOfAnswer.constEnd()) {
        reject(number,
               QStringLiteral("слово «%1» уже есть в строке %2.").arg(written).arg(*earlier));
        return;
    }
    if (m_entries.size() == MaxEntries) {
        reject(number, QStringLiteral("в списке уже %1 слов, больше в один кроссворд не взять; "
                                      "слово «%2» и все следующие пропущены.")
                           .arg(MaxEntries)
                           .arg(written));
        m_full = true;
        return;
    }
    m_lineOfAnswer.insert(entry.answer, number);
    m_entries.append(entry);
}
