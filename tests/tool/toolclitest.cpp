// The kvarcella-tool executable end to end: exit statuses, messages, and the
// files it writes, looked at with poppler's pdfinfo, pdftotext and pdftoppm.
#include "boardtext.h"
#include "crosswordfile.h"
#include "pdfexport.h"
#include "toolboards.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QUrl>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ToolRun
{
    int status = -1;
    QString out;
    QString err;
};

ToolRun
runProgram(const QString &program, const QStringList &arguments,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const std::function<void()> &inChild = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program.toStdString()
                      << " did not finish: " << process.errorString().toStdString();
        return run;
    }
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ToolRun tool(const QStringList &arguments)
{
    return runProgram(QStringLiteral(KVARCELLA_TOOL), arguments);
}

int pageCount(const QString &pdf)
{
    const ToolRun info = runProgram(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(info.out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pageText(const QString &pdf, int page)
{
    const QString number = QString::number(page);
    return runProgram(QStringLiteral("pdftotext"),
                      {"-f", number, "-l", number, "-enc", "UTF-8", pdf, "-"})
        .out;
}

// The answers of this crossword use letters that appear nowhere else on the
// worksheet: not in the clues, the pupil's line or the file name.
//
//   . . . .
//   . д у х      1 across дух, 3 across шцэ
//   . у . ю      1 down   душ, 2 down   хюэ
//   . ш ц э
CrosswordDocument worksheetCrossword()
{
    return boardFromRows({"", ".дух", ".у.ю", ".шцэ"}, {{21, "1"}, {23, "2"}, {61, "3"}},
                         QStringLiteral("По горизонтали:\r\n1. Первое слово.\r\n3. Третье слово."
                                        "\r\n\r\nПо вертикали:\r\n1. Снова первое.\r\n"
                                        "2. Второе слово."));
}

const QString AnswerLetters = QStringLiteral("дyхюшцэ").replace(u'y', u'у');

class ToolCliTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString save(const QString &name, const CrosswordDocument &document) const
    {
        CrosswordFileError error;
        EXPECT_TRUE(CrosswordFile::write(path(name), document, &error))
            << error.message().toStdString();
        return path(name);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ToolCliTest, CheckExitsZeroWhenCleanOneOnProblemsTwoOnUnreadableFiles)
{
    const ToolRun clean = tool({"check", save("clean.crs", cleanCrossword()), "--words"});
    EXPECT_EQ(clean.status, 0) << clean.err.toStdString();
    EXPECT_EQ(clean.out, QStringLiteral("3 по горизонтали: школа (строка 3, столбец 2)\n"
                                        "4 по горизонтали: тетрадь (строка 6, столбец 6)\n"
                                        "1 по вертикали: рука (строка 1, столбец 3)\n"
                                        "2 по вертикали: газета (строка 2, столбец 6)\n"
                                        "Ошибок не найдено.\n"));

    CrosswordDocument broken = cleanCrossword();
    broken.setNumber(105, QString());
    const ToolRun problems = tool({"check", save("broken.crs", broken)});
    EXPECT_EQ(problems.status, 1);
    EXPECT_EQ(problems.out,
              QStringLiteral("Слово «тетрадь» по горизонтали (строка 6, столбец 6) начинается в "
                             "клетке без номера.\n"
                             "Вопрос 4 по горизонтали (строка 3 текста): в сетке нет слова по "
                             "горизонтали с этим номером.\n"
                             "Найдено ошибок: 2.\n"));

    const ToolRun missing = tool({"check", path("missing.crs")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(
        missing.err.contains(QStringLiteral("Файл «%1» не найден.").arg(path("missing.crs"))))
        << missing.err.toStdString();

    QFile truncated(path("short.crs"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write("\"\",\"\"\r\n");
    truncated.close();
    const ToolRun shortFile = tool({"check", path("short.crs")});
    EXPECT_EQ(shortFile.status, 2);
    EXPECT_TRUE(shortFile.err.contains(QStringLiteral("повреждён или не дописан")));

    for (const char *command : {"pdf", "ipuz", "html"})
        EXPECT_EQ(tool({command, path("missing.crs")}).status, 2) << command;

    // Fault mended: every command read almost any file with 800 separators as
    // a crossword; a UTF-16 copy printed noise. The reader's own table has the
    // other kinds of file.
    QFile utf16(path("utf16.crs"));
    ASSERT_TRUE(utf16.open(QIODevice::WriteOnly));
    utf16.write(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                    .encode(QStringLiteral("\"к\",\"1\"\r\n").repeated(400)));
    utf16.close();
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    for (const char *command : {"check", "pdf", "ipuz", "html"}) {
        const ToolRun run = tool({command, utf16.fileName()});
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_TRUE(run.err.contains(QStringLiteral("в кодировке UTF-16")) && run.out.isEmpty())
            << command << run.err.toStdString();
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), before) << "nothing was written";
}

// Fault mended: names went to the terminal as they were, and a name could
// clear the screen or retitle the window with an escape sequence.
TEST_F(ToolCliTest, ControlCharactersInNamesAreShownAsCodes)
{
    const QString hostile = QStringLiteral("\x1B]0;x\x07\x1B[2Jурок");
    const QString shownName = QStringLiteral("U+001B]0;xU+0007U+001B[2Jурок");
    const QString good = save("good.crs", cleanCrossword());
    QFile words(path("words.txt"));
    ASSERT_TRUE(words.open(QIODevice::WriteOnly));
    words.write(QStringLiteral("кот - Мурлычет.\nток - Течёт.\n").toUtf8());
    words.close();
    const QStringList runs[] = {
        {"check", path(hostile + ".crs")},
        {"check", good, hostile},
        {"pdf", good, "-o", path(hostile + ".pdf")},
        {"make", path(hostile + ".txt"), "-o", path("made.crs")},
        {"make", words.fileName(), "-o", path(hostile + ".crs")},
        {"make", words.fileName(), "-o", path("made.crs"), "--seed", hostile},
        {"check", good, "--" + hostile},
        {hostile},
    };
    for (const QStringList &arguments : runs) {
        const ToolRun run = tool(arguments);
        const QString said = run.out + run.err;
        const QString trace = QString(said).replace(u'\x1B', u'^');
        EXPECT_TRUE(said.contains(shownName)) << trace.toStdString();
        EXPECT_FALSE(std::any_of(said.begin(), said.end(), [](QChar c) {
            return c < u' ' && c != u'\n';
        })) << trace.toStdString();
    }
}

// Fault mended: Qt turns such bytes into U+FFFD, and the file was reported missing.
TEST_F(ToolCliTest, AFileNameThatIsNotUtf8IsReportedAsSuchNotAsMissing)
{
    const QByteArray name = QFile::encodeName(m_dir.path()) + "/\xFF\xE9.crs";
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_TRUE(CrosswordFile::write(path("good.crs"), cleanCrossword(), nullptr));
    // The shell passes the bytes as they are; QProcess would encode them as UTF-8.
    for (const QStringList &arguments :
         {QStringList{"check", "\\377\\351.crs"}, QStringList{"pdf", "good.crs", "-o", "\\377\\351.crs"}}) {
        QString script = QStringLiteral("cd \"$1\" && exec \"$0\"");
        for (const QString &argument : arguments)
            script += QStringLiteral(" \"$(printf '%b' '%1')\"").arg(argument);
        const ToolRun run = runProgram(QStringLiteral("/bin/sh"),
                                       {"-c", script, QStringLiteral(KVARCELLA_TOOL), m_dir.path()});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, QStringLiteral("«\\xFF\\xE9.crs»: имя файла записано не в кодировке "
                                          "UTF-8, а kvarcella-tool понимает только имена в UTF-8. "
                                          "Переименуйте файл или выберите другое имя.\n"))
            << run.err.toStdString();
    }
    struct stat written {};
    ASSERT_EQ(::stat(name.constData(), &written), 0);
    EXPECT_EQ(written.st_size, 0) << "the PDF went into the file";

    // Addresses as the main program takes them: a local file:// address is the
    // file (it was "not found" under a mangled name); any other is no file.
    const QString address = QUrl::fromLocalFile(path("good.crs")).toString(QUrl::FullyEncoded);
    const ToolRun local = tool({"pdf", address, "-o", QUrl::fromLocalFile(path("как.pdf")).toString()});
    EXPECT_EQ(local.status, 0) << local.err.toStdString();
    EXPECT_TRUE(QFileInfo(path("как.pdf")).size() > 0);
    const ToolRun remote = tool({"check", "https://школа.рф/урок.crs"});
    EXPECT_EQ(remote.status, 2);
    EXPECT_TRUE(remote.err.contains(QStringLiteral("это адрес в сети, а не файл"))) << remote.err.toStdString();
}

TEST_F(ToolCliTest, IpuzIsWrittenNextToTheCrosswordOrWhereAsked)
{
    const QString crossword = save("Школа.crs", cleanCrossword());
    const ToolRun run = tool({"ipuz", crossword});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    // Written all the same, but the teacher hears that check would complain.
    CrosswordDocument broken = cleanCrossword();
    broken.setNumber(105, QString());
    const ToolRun warned = tool({"ipuz", save("broken.crs", broken)});
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err, QStringLiteral("Внимание: в кроссворде найдены ошибки (2), файл ipuz "
                                         "записан с ними. Подробности: kvarcella-tool check «%1»\n")
                              .arg(path("broken.crs")));
    EXPECT_TRUE(QFile::exists(path("broken.ipuz")));
    QFile file(path("Школа.ipuz"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(root.value("title").toString(), QStringLiteral("Школа"));
    EXPECT_EQ(root.value("clues").toObject().value("Down").toArray().size(), 2);

    EXPECT_EQ(tool({"ipuz", crossword, "-o", path("other.json")}).status, 0);
    EXPECT_TRUE(QFile::exists(path("other.json")));

    // Asking for the crossword itself as the output must not destroy it.
    QFile original(crossword);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    for (const char *command : {"ipuz", "pdf", "html"}) {
        const ToolRun overwrite = tool({command, crossword, "-o", m_dir.path() + "/./Школа.crs"});
        EXPECT_EQ(overwrite.status, 2) << command;
        EXPECT_TRUE(overwrite.err.contains(QStringLiteral("это сам кроссворд"))) << command;
    }
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before);

    const ToolRun unwritable = tool({"ipuz", crossword, "-o", path("no/such/folder/x.ipuz")});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_TRUE(unwritable.err.startsWith(
        QStringLiteral("Не удалось сохранить файл «%1»").arg(path("no/such/folder/x.ipuz"))))
        << unwritable.err.toStdString();
}

TEST_F(ToolCliTest, HtmlWarnsNamingTheCellsWhenThePageCanNeverBeSolved)
{
    // UTF-8 files, as a teacher's editor may save them: rows 2 and column 3
    // hold "к", and the clue text ends as given.
    const auto write = [this](const QString &name, const QByteArray &clues) {
        QByteArray bytes;
        for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
            const bool playable = cell / 20 == 1 || cell % 20 == 2;
            bytes += playable ? QByteArray("\"к\",\"\"\r\n") : QByteArray("\"\",\"\"\r\n");
        }
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes + clues + "\r\n");
        return path(name);
    };
    // One bad byte: the file is read as Windows-1251, and every answer becomes
    // two letters that no key of the page types.
    const ToolRun spoiled = tool({"html", write("spoiled.crs", "\xff")});
    EXPECT_EQ(spoiled.status, 0) << spoiled.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("spoiled.html")));
    EXPECT_EQ(spoiled.err,
              QStringLiteral("Внимание: ответ в клетках (строка 1, столбец 3; строка 2, столбец 1; "
                             "строка 2, столбец 2; строка 2, столбец 3; строка 2, столбец 4; "
                             "строка 2, столбец 5; строка 2, столбец 6; строка 2, столбец 7; "
                             "строка 2, столбец 8; строка 2, столбец 9 и ещё 29) — не одна "
                             "строчная буква от «а» до «я» без «ё», на странице его не ввести, и "
                             "кроссворд там не разгадать. Страница записана. Подробности: "
                             "kvarcella-tool check «%1»\n")
                  .arg(path("spoiled.crs")));
    // Thousands of stress marks on one letter are cut, with a note.
    const ToolRun marks =
        tool({"html", write("marks.crs", (QStringLiteral("1. к") + QString(5000, u'\u0301')).toUtf8())});
    EXPECT_EQ(marks.status, 0);
    EXPECT_EQ(marks.err, QStringLiteral("Примечание: после некоторых букв стоит больше 4 знаков "
                                        "ударения или других надстрочных знаков подряд; лишние "
                                        "(4996) на страницу не записаны, иначе браузер зависнет.\n"));
}

TEST_F(ToolCliTest, WorksheetShowsNumbersAndCluesButNoAnswersWhichTheKeyPageHolds)
{
    const QString crossword = save("worksheet.crs", worksheetCrossword());
    const ToolRun run = tool({"pdf", crossword});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString pdf = path("worksheet.pdf");
    EXPECT_EQ(pageCount(pdf), 2);

    const QString worksheet = pageText(pdf, 1);
    for (const char *expected : {"worksheet", "Фамилия, имя:", "Класс:", "По горизонтали:",
                                 "3. Третье слово.", "2. Второе слово."})
        EXPECT_TRUE(worksheet.contains(QString::fromUtf8(expected))) << expected;
    for (const char *number : {"1", "2", "3"})
        EXPECT_TRUE(
            worksheet.contains(QRegularExpression(QStringLiteral("(^|\\s)%1\\s").arg(number))))
            << number;
    for (const QChar letter : AnswerLetters) {
        EXPECT_FALSE(worksheet.contains(letter, Qt::CaseInsensitive))
            << "page 1 gives away " << QString(letter).toStdString();
    }

    const QString key = pageText(pdf, 2);
    for (const QChar letter : AnswerLetters)
        EXPECT_TRUE(key.contains(letter.toUpper())) << QString(letter).toStdString();

    EXPECT_EQ(tool({"pdf", crossword, "--no-answers", "-o", path("pupils.pdf")}).status, 0);
    EXPECT_EQ(pageCount(path("pupils.pdf")), 1);
}

TEST_F(ToolCliTest, WorksheetDrawsASquareForExactlyThePlayableCells)
{
    const CrosswordDocument document = worksheetCrossword();
    ASSERT_EQ(tool({"pdf", save("grid.crs", document), "--no-answers"}).status, 0);
    constexpr int Dpi = 100;
    ASSERT_EQ(
        runProgram(QStringLiteral("pdftoppm"), {"-r", QString::number(Dpi), "-png", "-singlefile",
                                                path("grid.pdf"), path("page")})
            .status,
        0);
    const QImage image(path("page.png"));
    ASSERT_FALSE(image.isNull());

    const PdfExport::GridPlacement grid = PdfExport::worksheetGrid(document);
    ASSERT_EQ(grid.rows, 3);
    ASSERT_EQ(grid.columns, 3);
    const auto pixel = [](qreal points) { return points * Dpi / 72.0; };
    // Dark anywhere within a pixel of the point: lines are about 1.4 pixels wide.
    const auto darkNear = [&](qreal xPoints, qreal yPoints) {
        const int x = qRound(pixel(xPoints));
        const int y = qRound(pixel(yPoints));
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (qGray(image.pixel(x + dx, y + dy)) < 128)
                    return true;
            }
        }
        return false;
    };
    const auto playable = [&](int row, int column) {
        row += grid.firstRow;
        column += grid.firstColumn;
        return row >= 0 && row < 20 && column >= 0 && column < 20 &&
               document.isPlayable(CrosswordDocument::indexOf(row, column));
    };

    // Every edge between two cells, one ring beyond the grid included, is drawn
    // exactly when a playable cell lies on either side of it. (Above the grid
    // stands the pupil's line.)
    const qreal size = grid.cellSize;
    for (int row = 0; row <= grid.rows; ++row) {
        for (int column = -1; column <= grid.columns; ++column) {
            const qreal left = grid.rect.left() + column * size;
            const qreal top = grid.rect.top() + row * size;
            const bool here = playable(row, column);
            EXPECT_EQ(darkNear(left, top + size / 2), here || playable(row, column - 1))
                << "left edge of " << row << "," << column;
            EXPECT_EQ(darkNear(left + size / 2, top), here || playable(row - 1, column))
                << "top edge of " << row << "," << column;
            EXPECT_FALSE(darkNear(left + size / 2, top + size / 2))
                << "the middle of " << row << "," << column << " is empty";
        }
    }
}

TEST_F(ToolCliTest, LongCluesContinueOnFurtherPagesBeforeTheKey)
{
    CrosswordDocument document = worksheetCrossword();
    QString clues = QStringLiteral("По горизонтали:");
    for (int i = 1; i <= 120; ++i)
        clues += QStringLiteral("\r\n%1. Вопрос номер %1, довольно длинный, чтобы строка "
                                "переносилась на следующую строку листа при печати.")
                     .arg(i);
    document.setClueText(clues);
    ASSERT_EQ(tool({"pdf", save("long.crs", document)}).status, 0);
    const int pages = pageCount(path("long.pdf"));
    ASSERT_GE(pages, 4);
    EXPECT_TRUE(pageText(path("long.pdf"), pages - 1).contains(QStringLiteral("120. Вопрос")));
    EXPECT_TRUE(pageText(path("long.pdf"), pages).contains(QStringLiteral("Ответы: long")));
}

// --open must write somewhere even when the crossword's folder is read-only,
// and hand the PDF to the desktop's opener (a stand-in here).
TEST_F(ToolCliTest, OpenWritesToTheTemporaryFolderWhenTheCrosswordFolderIsReadOnly)
{
    const QString folder = path("readonly");
    const QString temp = path("temp");
    const QString bin = path("bin");
    ASSERT_TRUE(QDir().mkpath(folder) && QDir().mkpath(temp) && QDir().mkpath(bin));
    const QString crossword = save("readonly/Урок.crs", cleanCrossword());
    const QString second = save("readonly/Второй.crs", cleanCrossword());

    QFile opener(bin + "/xdg-open");
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write(
        "#!/bin/sh\nprintf '%s %s' \"$QT_QPA_PLATFORM\" \"$1\" > \"$TMPDIR/opened.part\" && "
        "mv \"$TMPDIR/opened.part\" \"$TMPDIR/opened\"\n");
    opener.close();

    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
    QFile::setPermissions(m_dir.path(), everyone);
    QFile::setPermissions(bin, everyone);
    QFile::setPermissions(opener.fileName(), everyone);
    QFile::setPermissions(temp, everyone | QFileDevice::WriteGroup | QFileDevice::WriteOther);
    // Read-only for the tool; as root that takes running the tool as another user.
    const bool asRoot = geteuid() == 0;
    QFile::setPermissions(folder, everyone & ~QFileDevice::WriteOwner);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", bin + ":" + environment.value("PATH"));
    environment.insert("TMPDIR", temp);
    environment.insert("HOME", temp);
    // The tool itself draws offscreen whatever the desktop asks for, even with no
    // display, but the viewer it starts gets the desktop's platform.
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    const auto openAsUser = [&](const QString &file) {
        return runProgram(
            QStringLiteral(KVARCELLA_TOOL), {"pdf", "--open", file}, environment, [asRoot] {
                if (asRoot &&
                    (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                    _exit(99);
            });
    };
    const ToolRun run = openAsUser(crossword);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();

    EXPECT_FALSE(QFile::exists(folder + "/Урок.pdf"));
    QFile opened(temp + "/opened");
    for (int i = 0; i < 100 && !opened.exists(); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly)) << "the opener was not started";
    const QString shown = QString::fromUtf8(opened.readAll());
    ASSERT_TRUE(shown.startsWith("xcb ")) << shown.toStdString();
    // In a folder of the tool's own, never at a name others could have taken first.
    const QString written = shown.mid(4);
    EXPECT_TRUE(written.startsWith(temp + "/kvarcella-")) << written.toStdString();
    EXPECT_TRUE(written.endsWith("/Урок.pdf")) << written.toStdString();
    EXPECT_EQ(pageCount(written), 2);
    EXPECT_TRUE(run.out.contains(written)) << run.out.toStdString();

    // Later runs reuse that one folder, closed to everyone else.
    const QString own = QFileInfo(written).absolutePath();
    QFile::remove(temp + "/opened");
    ASSERT_EQ(openAsUser(second).status, 0);
    EXPECT_TRUE(QFile::exists(own + "/Второй.pdf"));
    EXPECT_EQ(QDir(temp).entryList({"kvarcella-*"}, QDir::AllEntries | QDir::System).size(), 1);
    EXPECT_EQ(int(QFileInfo(own).permissions()) & 0x77, 0) << "group and others have no access";

    // Whatever someone else prepared at that name is refused, and the PDF goes nowhere.
    const QString bait = path("bait");
    ASSERT_TRUE(QDir().mkpath(bait) && chmod(QFile::encodeName(bait), 0777) == 0);
    const QByteArray ownName = QFile::encodeName(own);
    const std::vector<std::pair<std::function<bool()>, QString>> prepared = {
        {[&] { return QFile::link(bait, own); }, QStringLiteral("символическая ссылка")},
        {[&] { return mkdir(ownName, 0777) == 0 && chmod(ownName, 0777) == 0 &&
                      (!asRoot || chown(ownName, 65534, 65534) == 0); },
         QStringLiteral("открыта другим пользователям")},
        {[&] { return asRoot && mkdir(ownName, 0700) == 0; },
         QStringLiteral("принадлежит другому пользователю")},
    };
    for (const auto &[make, said] : prepared) {
        SCOPED_TRACE(said.toStdString());
        if (!QFile::remove(own))
            QDir(own).removeRecursively();
        if (!make())
            continue; // another owner takes root
        const ToolRun refused = openAsUser(second);
        EXPECT_EQ(refused.status, 2);
        EXPECT_TRUE(refused.err.contains(said) && refused.err.contains(own)) << refused.err.toStdString();
        EXPECT_TRUE(QDir(bait).isEmpty());
    }
    QFile::setPermissions(folder, everyone);

    // With a writable folder the PDF lands next to the crossword.
    const QString beside = save("Рядом.crs", cleanCrossword());
    QFile::remove(temp + "/opened");
    EXPECT_EQ(
        runProgram(QStringLiteral(KVARCELLA_TOOL), {"pdf", "--open", beside}, environment).status,
        0);
    EXPECT_TRUE(QFile::exists(path("Рядом.pdf")));
}

// "-o -" used to write a file named "-".
TEST_F(ToolCliTest, DashWritesTheResultToStandardOutputAndEveryReportToStandardError)
{
    const QString crossword = save("Урок.crs", cleanCrossword());
    ASSERT_EQ(tool({"ipuz", crossword, "-o", path("file.ipuz")}).status, 0);
    QFile list(path("слова.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("школа - Там учатся.\nкласс - Комната для уроков.\nщи - Суп.\n");
    list.close();
    ASSERT_EQ(tool({"make", list.fileName(), "-o", path("file.crs")}).status, 1);

    const struct
    {
        QStringList arguments;
        QString file; // the same command's output written to a file
        QString report;
    } cases[] = {
        {{"ipuz", crossword, "-o", "-"}, path("file.ipuz"), "Записано в стандартный вывод."},
        {{"make", list.fileName(), "--output", "-"}, path("file.crs"), "Размещено слов: 2 из 3"},
        {{"pdf", crossword, "-o", "-"}, QString(), "Записано в стандартный вывод."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(KVARCELLA_TOOL), c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const QByteArray out = process.readAllStandardOutput();
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.arguments.first() == "make" ? 1 : 0) << err.toStdString();
        EXPECT_TRUE(err.contains(c.report)) << err.toStdString();
        if (c.file.isEmpty()) {
            EXPECT_TRUE(out.startsWith("%PDF-")) << out.left(20).toStdString();
            EXPECT_TRUE(out.trimmed().endsWith("%%EOF"));
        } else {
            QFile file(c.file);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(out, file.readAll());
        }
        EXPECT_FALSE(QFile::exists(path("-")));
    }

    const ToolRun open = tool({"pdf", crossword, "--open", "-o", "-"});
    EXPECT_EQ(open.status, 2);
    EXPECT_TRUE(open.err.contains(QStringLiteral("--open"))) << open.err.toStdString();
}

// Mended fault: --open reported success whatever became of the opener, and
// xdg-open's English ("no method available for opening ...") reached the user.
TEST_F(ToolCliTest, OpenSaysWhenNoProgramCanShowThePdf)
{
    const QString bin = path("bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString crossword = save("Урок.crs", cleanCrossword());
    struct Row
    {
        const char *opener; // the stand-in's last line; nullptr: no xdg-open at all
        int status;
        QString said;
    };
    const std::vector<Row> rows = {
        {"exit 3", 2, QStringLiteral("нет программы, которая показывает файлы PDF")},
        {"exit 0", 0, {}},
        // A bare xdg-open that runs the viewer itself and waits for it.
        {"echo $$ > \"$0.pid\"; exec /bin/sleep 60", 0, {}},
        {nullptr, 2, QStringLiteral("не запускается программа xdg-open")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.opener ? row.opener : "none");
        const QString opener = bin + "/xdg-open";
        QFile::remove(opener);
        if (row.opener) {
            QFile file(opener);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("#!/bin/sh\necho \"xdg-open: no method available for opening "
                                  "'$1'\" >&2\necho \"Opening $1\"\n") +
                       row.opener + "\n");
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", bin);
        const ToolRun run =
            runProgram(QStringLiteral(KVARCELLA_TOOL), {"pdf", "--open", crossword}, environment);
        EXPECT_EQ(run.status, row.status) << run.err.toStdString();
        EXPECT_EQ(run.err.isEmpty(), row.said.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.said)) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains("Opening") || run.err.contains("no method"))
            << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE(QFile::exists(path("Урок.pdf")));

        // The viewer stays up after the tool is done.
        QFile pidFile(opener + ".pid");
        if (pidFile.open(QIODevice::ReadOnly)) {
            const pid_t viewer = pidFile.readAll().trimmed().toInt();
            ASSERT_GT(viewer, 0);
            EXPECT_EQ(kill(viewer, 0), 0) << "the viewer was stopped with the tool";
            kill(viewer, SIGTERM);
            pidFile.remove();
        }
    }
}
