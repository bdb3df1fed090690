#include "wordlist.h"

#include "crosswordcheck.h"
#include "filefailurereason.h"
#include "textbytes.h"
#include "utf8text.h"
#include "windows1251.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cerrno>

namespace {


bool isRussianLetter(QChar c)
{
    return c >= u'а' && c <= u'я';
}

QString codeOf(char32_t c)
{
    return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
}

// NUL, BEL, ESC and the like: no clue holds them, and on a terminal or in a
// file they do harm. Tab separates words and answers.
bool isControl(char32_t c)
{
    return QChar::category(c) == QChar::Other_Control && c != U'\t';
}

// The acute that school texts put over the stressed vowel, and the grave that
// some put instead.
bool isStressMark(QChar c)
{
    return c == u'\u0301' || c == u'\u0300';
}

// A character named so that a teacher can find it in her file, even where it
// looks like a Russian letter or cannot be seen at all.
QString describe(char32_t c)
{
    const QString shown = QString::fromUcs4(&c, 1);
    const QString code = codeOf(c);
    if (c == U' ')
        return QStringLiteral("пробел");
    if (c == U'\t')
        return QStringLiteral("табуляция");
    if (isControl(c))
        return QStringLiteral("управляющий символ %1").arg(code);
    if (c == U'\u0301' || c == U'\u0300')
        return QStringLiteral("знак ударения (%1)").arg(code);
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return QStringLiteral("надстрочный знак (%1)").arg(code);
    case QChar::Other_Format:
        return QStringLiteral("невидимый символ (%1)").arg(code);
    case QChar::Separator_Space:
        return QStringLiteral("особый пробел (%1)").arg(code);
    default:
        break;
    }
    if (QChar::isLetter(c)) {
        switch (QChar::script(c)) {
        case QChar::Script_Latin:
            return QStringLiteral("латинская буква %1 (%2)").arg(shown, code);
        case QChar::Script_Greek:
            return QStringLiteral("греческая буква %1 (%2)").arg(shown, code);
        case QChar::Script_Cyrillic:
            return QStringLiteral("нерусская буква %1 (%2)").arg(shown, code);
        default:
            return QStringLiteral("буква %1 (%2)").arg(shown, code);
        }
    }
    if (QChar::isDigit(c))
        return QStringLiteral("цифра %1").arg(shown);
    return QStringLiteral("«%1» (%2)").arg(shown, code);
}

// The text without the stress marks over its Russian letters, whether they
// stand apart or come combined with the letter ("ѐ", "ѝ"); a letter written
// apart from its own mark ("й", "ё" in decomposed text) is put together again.
// An accent over a Latin letter ("café") stays.
QString withoutStress(const QString &text, bool *dropped)
{
    const QString apart = text.normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(apart.size());
    bool overRussian = false; // a Cyrillic letter, and any marks over it, came last
    for (const QChar c : apart) {
        if (isStressMark(c) && overRussian) {
            *dropped = true;
            continue;
        }
        if (!c.isMark())
            overRussian = c.script() == QChar::Script_Cyrillic;
        kept += c;
    }
    return kept.normalized(QString::NormalizationForm_C);
}

// A line of the file as bytes: CR LF, LF and a lone CR all end one, as in the
// decoded text.
struct ByteLine
{
    qsizetype start = 0;
    QByteArrayView bytes;
};

QList<ByteLine> byteLines(QByteArrayView bytes)
{
    QList<ByteLine> lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= bytes.size(); ++at) {
        if (at < bytes.size() && bytes[at] != '\r' && bytes[at] != '\n')
            continue;
        lines.append({start, bytes.sliced(start, at - start)});
        if (at + 1 < bytes.size() && bytes[at] == '\r' && bytes[at + 1] == '\n')
            ++at;
        start = at + 1;
    }
    return lines;
}

QString byteCode(char b)
{
    return QStringLiteral("0x%1").arg(
        QString::number(static_cast<unsigned char>(b), 16).toUpper().rightJustified(2, u'0'));
}

// "строка 3, байт номер 17 (0x98)": where a byte of the file stands.
QString bytePlace(const QList<ByteLine> &lines, QByteArrayView bytes, qsizetype offset)
{
    qsizetype line = 0;
    while (line + 1 < lines.size() && lines[line + 1].start <= offset)
        ++line;
    return QStringLiteral("строка %1, байт номер %2 (%3)")
        .arg(line + 1)
        .arg(offset - lines[line].start + 1)
        .arg(byteCode(bytes[offset]));
}

// The first byte of a line that is not part of valid UTF-8, or -1.
qsizetype firstNotUtf8(QByteArrayView line)
{
    for (qsizetype at = 0; at < line.size();) {
        const int length = Utf8Text::sequenceLength(line, at);
        if (length == 0)
            return at;
        at += length;
    }
    return -1;
}

// Why bytes that are not UTF-8 are no Windows-1251 text either, or "".
QString notWindows1251(const QList<ByteLine> &lines, QByteArrayView bytes)
{
    // The one byte value Windows-1251 leaves undefined.
    const qsizetype undefined = bytes.indexOf('\x98');
    if (undefined >= 0)
        return QStringLiteral("%1 — такого байта нет ни в UTF-8, ни в Windows-1251")
            .arg(bytePlace(lines, bytes, undefined));
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0xC0 || u == 0xA8 ||
            u == 0xB8)
            return {};
    }
    return QStringLiteral("в нём нет ни одной буквы ни в UTF-8, ни в Windows-1251");
}

// The first character of text that Windows-1251 cannot hold, or "" when all fit.
QString firstUnencodable(const QString &text)
{
    QByteArray ignored;
    qsizetype i = 0;
    if (Windows1251::encode(text, &ignored, &i))
        return {};
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
    if (TextBytes::startsAsUtf16(bytes)) {
        const bool little = bytes.front() == '\xFF';
        list.m_encoding = little ? Encoding::Utf16LittleEndian : Encoding::Utf16BigEndian;
        QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        list.addLines(QString(decoder.decode(bytes.sliced(2))));
        return list;
    }
    const bool byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (byteOrderMark)
        bytes = bytes.sliced(3);
    const QList<ByteLine> lines = byteLines(bytes);

    const qsizetype firstControl = TextBytes::binaryAt(bytes);
    if (firstControl >= 0) {
        list.m_refusal = QStringLiteral("%1 — управляющий символ, и таких в файле больше, чем "
                                        "строк: это не текст")
                             .arg(bytePlace(lines, bytes, firstControl));
        return list;
    }

    // The encoding most of the list is written in; a line in another one is
    // reported instead of being read as nonsense.
    qsizetype multiByte = 0;
    qsizetype notUtf8 = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = Utf8Text::sequenceLength(bytes, at);
        notUtf8 += length == 0;
        multiByte += length > 1;
        at += std::max(length, 1);
    }
    const bool utf8 = notUtf8 == 0 || byteOrderMark || multiByte > notUtf8;
    if (!utf8) {
        list.m_refusal = notWindows1251(lines, bytes);
        if (!list.m_refusal.isEmpty())
            return list;
    }
    list.m_encoding = utf8 ? Encoding::Utf8 : Encoding::Windows1251;

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i].bytes;
        QString problem;
        QString text;
        if (utf8) {
            const qsizetype bad = firstNotUtf8(line);
            if (bad >= 0)
                problem = QStringLiteral("байт номер %1 (%2) — не UTF-8, а остальной список "
                                         "записан в UTF-8.")
                              .arg(bad + 1)
                              .arg(byteCode(line[bad]));
            text = QString::fromUtf8(line);
        } else {
            if (Utf8Text::looksLikeUtf8(line))
                problem = QStringLiteral("строка записана в UTF-8, а остальной список — в "
                                         "Windows-1251.");
            text = Windows1251::decode(line);
        }
        list.addLine(static_cast<int>(i) + 1, text, problem);
    }
    return list;
}

void WordList::addLines(QStringView text)
{
    // A CR left inside a clue would break the clue text into two lines, so a
    // lone CR ends a line as CR LF and LF do.
    QString normalized = text.toString();
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\r', u'\n');
    const QList<QStringView> lines = QStringView(normalized).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        addLine(static_cast<int>(i) + 1, lines[i]);
}

bool WordList::readBytes(const QString &path, QByteArray *bytes, QString *error)
{
    const QString name = QStringLiteral("«%1»").arg(CrosswordCheck::printable(path));
    const QFileInfo info(path);
    if (!info.exists()) {
        const QString reason = FileFailureReason::ofMissingPath(path);
        *error = reason.isEmpty()
                     ? QStringLiteral("Файл %1 не найден.").arg(name)
                     : QStringLiteral("Не удалось прочитать файл %1: %2.").arg(name, reason);
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
    *bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Не удалось прочитать файл %1: %2.")
                     .arg(name, FileFailureReason::fromFileError(file.error()));
        return false;
    }
    if (bytes->size() > MaxFileSize) {
        *error = QStringLiteral("Файл %1 слишком велик для списка слов.").arg(name);
        return false;
    }
    return true;
}

QString WordList::refusalMessage(const QString &path) const
{
    if (m_refusal.isEmpty())
        return {};
    return QStringLiteral("Файл «%1» — не список слов: %2. Список должен быть текстом в кодировке "
                          "UTF-8, UTF-16 или Windows-1251.")
        .arg(CrosswordCheck::printable(path), m_refusal);
}

bool WordList::read(const QString &path, WordList *list, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return false;
    *list = parse(bytes);
    *error = list->refusalMessage(path);
    return error->isEmpty();
}

bool WordList::readText(const QString &path, QString *text, QString *error)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, error))
        return false;
    const WordList list = parse(bytes);
    *error = list.refusalMessage(path);
    if (!error->isEmpty())
        return false;
    QByteArrayView view(bytes);
    if (list.encoding() == Encoding::Utf16LittleEndian ||
        list.encoding() == Encoding::Utf16BigEndian) {
        QStringDecoder decoder(list.encoding() == Encoding::Utf16LittleEndian
                                   ? QStringDecoder::Utf16LE
                                   : QStringDecoder::Utf16BE);
        *text = decoder.decode(view.sliced(2));
        text->replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text->replace(u'\r', u'\n');
        return true;
    }
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringList lines;
    for (const ByteLine &line : byteLines(view)) {
        const bool utf8 = list.encoding() == Encoding::Utf8 ? firstNotUtf8(line.bytes) < 0
                                                            : Utf8Text::looksLikeUtf8(line.bytes);
        lines.append(utf8 ? QString::fromUtf8(line.bytes) : Windows1251::decode(line.bytes));
    }
    *text = lines.join(u'\n');
    return true;
}

WordList WordList::fromText(QStringView text)
{
    WordList list;
    list.addLines(text);
    return list;
}

void WordList::reject(int line, const QString &message)
{
    m_problems.append({line, QStringLiteral("Строка %1: %2").arg(QString::number(line), message)});
}

void WordList::addLine(int number, QStringView line, const QString &encodingProblem)
{
    const QStringView trimmed = line.trimmed();
    if (m_full || trimmed.isEmpty() || trimmed.startsWith(u'#'))
        return;
    if (!encodingProblem.isEmpty()) {
        reject(number, encodingProblem);
        return;
    }

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
    entry.clue = withoutStress(clue, &entry.stressDropped);
    entry.written = written;
    const QString plain = withoutStress(written, &entry.stressDropped);
    for (const char32_t c : plain.toUcs4()) {
        const char32_t lower = QChar::toLower(c);
        if (lower > 0xFFFF || (!isRussianLetter(QChar(lower)) && lower != U'ё')) {
            reject(number, QStringLiteral("в слове «%1» есть %2, а в кроссворд идут только "
                                          "русские буквы.")
                               .arg(written, describe(c)));
            return;
        }
    }
    entry.answer = plain.toLower();
    if (entry.answer.contains(u'ё')) {
        entry.answer.replace(u'ё', u'е');
        entry.yoReplaced = true;
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
    for (qsizetype i = 0; i < entry.clue.size(); ++i) {
        if (isControl(entry.clue[i].unicode())) {
            reject(number, QStringLiteral("в вопросе к слову «%1» есть управляющий символ %2 "
                                          "(знак номер %3 вопроса): в кроссворд его не записать.")
                               .arg(written, codeOf(entry.clue[i].unicode()))
                               .arg(i + 1));
            return;
        }
    }
    const QString bad = firstUnencodable(entry.clue);
    if (!bad.isEmpty()) {
        reject(number, QStringLiteral("в вопросе к слову «%1» есть %2 — такого символа нет в "
                                      "кодировке Windows-1251, файл кроссворда его не сохранит.")
                           .arg(written, describe(bad.toUcs4().value(0))));
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
