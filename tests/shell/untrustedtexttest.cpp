// Crossword files are untrusted: markup in a cell or in a file name must show as
// the characters it is made of, and must never make the program load anything.
#include "shelltesting.h"
#include "testplatform.h"

#include "boardtext.h"
#include "clickablelabel.h"
#include "dailypassword.h"
#include "form1.h"
#include "form3.h"
#include "form4.h"
#include "gridlabels.h"
#include "letterkeyboard.h"
#include "modalwatcher.h"
#include "qtplatform.h"

#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Resident memory of this process in KiB.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

#ifdef _WIN32
// Windows has no FIFO in a folder: there the caption names a missing file.
class FifoWatch
{
public:
    explicit FifoWatch(const QString &) {}
    bool opened() const { return false; }
};
#else
// Notices whenever anything opens the FIFO for reading: a writer can open
// it without blocking only while a reader has it open. Opening it for
// writing also releases such a reader at once, so a fault cannot hang the test.
class FifoWatch
{
public:
    explicit FifoWatch(const QString &path) : m_path(path.toStdString())
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_opened = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~FifoWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    bool opened() const { return m_opened; }

private:
    std::string m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::thread m_thread;
};
#endif

bool showsColour(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

bool allPlain(const GridLabels *grid)
{
    for (int cell = 0; cell < CrosswordDocument::CellCount; ++cell) {
        if (grid->letterLabel(cell)->textFormat() != Qt::PlainText ||
            grid->numberLabel(cell)->textFormat() != Qt::PlainText)
            return false;
    }
    return true;
}

const QColor Red(255, 0, 0);

} // namespace

class UntrustedTextTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        picture = path(QStringLiteral("picture.png"));
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(Red);
        ASSERT_TRUE(red.save(picture));
        fifo = path(QStringLiteral("fifo"));
#ifndef _WIN32
        ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
#endif

        CrosswordDocument document = boardFromRows({".кота"});
        document.setNumber(1, QStringLiteral("<b>9</b>"));
        document.setNumber(2, QStringLiteral("<img src=%1>").arg(picture));
        document.setNumber(3, QStringLiteral("<img src=%1>").arg(fifo));
        document.setLetter(4, QStringLiteral("<img src=%1>").arg(picture));
        marked = crosswordFile(QStringLiteral("разметка.crs"), document);

        CrosswordDocument endless = boardFromRows({".к"});
        endless.setNumber(1, QStringLiteral("<img src=/dev/zero>"));
        zero = crosswordFile(QStringLiteral("zero.crs"), endless);
    }

    // Cells 1..3's numbers and cell 4's letter show their characters, draw no picture.
    void expectLiteral(const GridLabels *grid, bool lettersShown)
    {
        EXPECT_EQ(grid->numberLabel(1)->text(), QStringLiteral("<b>9</b>"));
        EXPECT_EQ(grid->numberLabel(2)->text(), QStringLiteral("<img src=%1>").arg(picture));
        EXPECT_EQ(grid->numberLabel(3)->text(), QStringLiteral("<img src=%1>").arg(fifo));
        EXPECT_TRUE(allPlain(grid));
        EXPECT_FALSE(showsColour(grid->numberLabel(2), Red)) << "the picture was drawn";
        if (lettersShown) {
            EXPECT_EQ(grid->letterLabel(4)->text(), QStringLiteral("<img src=%1>").arg(picture));
            EXPECT_FALSE(showsColour(grid->letterLabel(4), Red)) << "the picture was drawn";
        }
    }

    QString picture;
    QString fifo;
    QString marked;
    QString zero;
};

TEST_F(UntrustedTextTest, SolvingWindowShowsMarkupInCellsAsCharactersAndLoadsNothing)
{
    FifoWatch watch(fifo);
    Form1 *window = startAndOpen(marked);
    ASSERT_NE(window, nullptr);
    window->grab();
    expectLiteral(window->grid(), false);
    EXPECT_FALSE(watch.opened()) << "a cell caption opened the FIFO";

    // Never let an endless file be read by a label that takes markup.
    ASSERT_TRUE(allPlain(window->grid()));
    // Five reloads of an ordinary crossword set the measure; five of the
    // endless picture may cost no more than that and a little slack.
    const auto reloadFiveTimes = [&](const QString &file) {
        const long before = residentKiB();
        for (int round = 0; round < 5; ++round) {
            platform.fileAnswers = {file};
            trigger(solvingWindow(), "menuopen");
            settle();
            if (solvingWindow())
                solvingWindow()->grab();
        }
        return residentKiB() - before;
    };
    const long ordinaryKiB = reloadFiveTimes(marked);
    const long endlessKiB = reloadFiveTimes(zero);
    RecordProperty("resident_growth_kib", int(endlessKiB));
    EXPECT_LT(endlessKiB, ordinaryKiB + 32 * 1024)
        << "resident memory grew by " << endlessKiB << " KiB, against " << ordinaryKiB;
    window = solvingWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->grid()->numberLabel(1)->text(), QStringLiteral("<img src=/dev/zero>"));
    // Still answering: a cell click opens the keyboard.
    click(window->grid()->letterLabel(1));
    EXPECT_TRUE(window->keyboard()->isVisible());
}

TEST_F(UntrustedTextTest, EditingWindowShowsMarkupInBothLayersAsCharacters)
{
    FifoWatch watch(fifo);
    Form4 *window = startAndCreate();
    ASSERT_NE(window, nullptr);
    platform.inputAnswers = {DailyPassword::forDate(platform.date, QLocale::system())};
    platform.fileAnswers = {marked};
    trigger(window, "menuopen");
    window->grab();
    ASSERT_EQ(window->editorFileName(), marked);
    expectLiteral(window->grid(), true);
    EXPECT_FALSE(watch.opened()) << "a cell caption opened the FIFO";
    click(window->grid()->letterLabel(5));
    EXPECT_TRUE(window->keyboard()->isVisible());
}

TEST_F(UntrustedTextTest, FileNameWithMarkupIsNamedLiterallyInMessagesAndTitles)
{
    // The real message box's modal loop under Wine's offscreen platform never
    // comes back to the watcher that closes it.
    SKIP_ON_WINDOWS("the real message box does not return under Wine");
    // The real message box, everything else scripted.
    struct RealMessages : FakePlatform
    {
        QtPlatform real;
        void showMessage(QWidget *owner, const QString &title, const QString &text) override
        {
            FakePlatform::showMessage(owner, title, text);
            real.showMessage(owner, title, text);
        }
    } messages;
    program = std::make_unique<Program>(messages, [this] { ++quits; });

    const QString hostile = path(QStringLiteral("<u>under <font color=red size=7>RED.crs"));
    putFileBytes(hostile, QByteArray("\"\",\"\"\r\n"));
    ModalWatcher watcher;
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    watcher.onNextModal(nullptr, [&](QWidget *modal) {
        if (auto *label = modal->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
            shown = label->text();
            format = label->textFormat();
        }
        modal->close();
    });
    program->start();
    messages.fileAnswers = {hostile};
    click(startWindow()->openButton());
    settle();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(shown, messages.messages[0].text);
    EXPECT_TRUE(shown.contains(hostile));
    EXPECT_EQ(format, Qt::PlainText);

    // A file name may also hold Qt's title placeholder; the title shows it as typed.
    const QString placeholder = path(QStringLiteral("кот[*].crs"));
    crosswordFile(QStringLiteral("кот[*].crs"), boardFromRows({".кот"}));
    messages.fileAnswers = {placeholder};
    click(startWindow()->openButton());
    settle();
    ASSERT_NE(solvingWindow(), nullptr);
    EXPECT_EQ(solvingWindow()->windowHandle()->title(),
              QStringLiteral("Кварцелла 2.0  -  ") + placeholder);
}
