#include "makerdialog.h"

#include "gridpreview.h"
#include "makerreport.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
}

} // namespace

MakerDialog::MakerDialog(Platform &platform, Platform::Take take, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_take(std::move(take))
{
    setObjectName(QStringLiteral("MakerDialog"));
    setWindowTitle(QStringLiteral("Составить кроссворд из списка слов"));
    auto *layout = new QVBoxLayout(this);

    auto *hint = new QLabel(QStringLiteral("Список слов: по одному на строку, сначала слово, "
                                           "потом вопрос, например «кот - Домашнее животное.»"),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_list = new QPlainTextEdit(this);
    m_list->setObjectName(QStringLiteral("wordlist"));
    m_list->setAccessibleName(QStringLiteral("список слов"));
    m_list->setTabChangesFocus(true);
    m_list->setPlaceholderText(QStringLiteral("кот - Домашнее животное.\nшкола - Здесь учатся."));
    hint->setBuddy(m_list);
    layout->addWidget(m_list, 1);

    auto *actions = new QHBoxLayout;
    m_open = button(QStringLiteral("Открыть список..."), "openlist", this);
    m_make = button(QStringLiteral("Составить"), "make", this);
    m_again = button(QStringLiteral("Составить ещё раз"), "makeagain", this);
    m_again->setEnabled(false);
    actions->addWidget(m_open);
    actions->addStretch();
    actions->addWidget(m_make);
    actions->addWidget(m_again);
    layout->addLayout(actions);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(QStringLiteral("составление кроссворда"));
    m_progress->setRange(0, 100);
    m_progress->setFormat(QStringLiteral("Составление кроссворда: %p %"));
    m_progress->hide();
    layout->addWidget(m_progress);

    auto *result = new QHBoxLayout;
    m_preview = new GridPreview(this);
    m_preview->setObjectName(QStringLiteral("grid"));
    m_preview->setAccessibleName(QStringLiteral("составленный кроссворд"));
    result->addWidget(m_preview, 0, Qt::AlignTop);
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setAccessibleName(QStringLiteral("отчёт"));
    m_report->setReadOnly(true);
    m_report->setMinimumWidth(420);
    result->addWidget(m_report, 1);
    layout->addLayout(result, 1);

    auto *buttons = new QDialogButtonBox(this);
    m_takeButton = button(QStringLiteral("Перенести в редактор"), "take", this);
    m_takeButton->setEnabled(false);
    buttons->addButton(m_takeButton, QDialogButtonBox::ActionRole);
    m_close = button(QStringLiteral("Закрыть"), "close", this);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(m_open, &QPushButton::clicked, this, &MakerDialog::openList);
    connect(m_make, &QPushButton::clicked, this, [this] { make(1); });
    connect(m_again, &QPushButton::clicked, this, [this] { make(m_seed + 1); });
    connect(m_takeButton, &QPushButton::clicked, this, &MakerDialog::take);
    connect(m_close, &QPushButton::clicked, this, &MakerDialog::reject);
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &MakerDialog::showProgress);
    resize(940, 660);
}

MakerDialog::~MakerDialog()
{
    // The maker cannot be stopped half-way; it only reads its own copies.
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

void MakerDialog::reject()
{
    if (!isMaking())
        QDialog::reject();
}

void MakerDialog::openList()
{
    Platform::FileDialogRequest request;
    request.mode = Platform::FileDialogRequest::Mode::Open;
    request.fileMustExist = true;
    request.filter = QStringLiteral("Списки слов (*.txt);;Все файлы (*)");
    const std::optional<QString> path = m_platform.fileDialog(this, request);
    if (!path)
        return;
    QString text;
    QString error;
    if (!WordList::readText(*path, &text, &error)) {
        m_platform.showMessage(this, windowTitle(), error);
        return;
    }
    m_list->setPlainText(text);
}

void MakerDialog::make(quint64 seed)
{
    m_seed = seed;
    m_words = WordList::fromText(m_list->toPlainText());
    if (m_words.entries().isEmpty()) {
        m_report->setPlainText(MakerReport::listNotes(m_words) +
                               QStringLiteral("В списке нет ни одного слова, из которого можно "
                                              "составить кроссворд."));
        return;
    }
    QList<CrosswordMaker::Word> words;
    for (const WordList::Entry &entry : m_words.entries())
        words.append({entry.answer, entry.clue});

    // The thread has its own copies; the dialog reads them once it has finished.
    m_percent = std::make_shared<std::atomic<int>>(0);
    m_result = std::make_shared<CrosswordMaker::Result>();
    m_worker = QThread::create([maker = CrosswordMaker(words), seed, percent = m_percent,
                                result = m_result] {
        *result = maker.make(seed, CrosswordMaker::DefaultTries, [&percent](int done, int total) {
            percent->store(done * 100 / total, std::memory_order_relaxed);
        });
    });
    connect(m_worker, &QThread::finished, this, &MakerDialog::finish);
    setMaking(true);
    m_started.start();
    m_poll.start();
    m_worker->start();
}

void MakerDialog::showProgress()
{
    if (m_started.elapsed() < QuietMilliseconds)
        return;
    m_progress->setValue(m_percent->load(std::memory_order_relaxed));
    m_progress->show();
}

void MakerDialog::finish()
{
    m_poll.stop();
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_progress->hide();
    setMaking(false);

    const CrosswordMaker::Result &result = *m_result;
    m_report->setPlainText(MakerReport::listNotes(m_words) +
                           MakerReport::placement(m_words, result));
    m_made = result.document;
    m_preview->setCrossword(result.document);
    m_again->setEnabled(true);
    m_takeButton->setEnabled(!result.placed.isEmpty());
    m_result.reset();
}

void MakerDialog::setMaking(bool making)
{
    for (QWidget *control : {static_cast<QWidget *>(m_list), static_cast<QWidget *>(m_open),
                             static_cast<QWidget *>(m_make), static_cast<QWidget *>(m_close)})
        control->setEnabled(!making);
    if (making) {
        m_again->setEnabled(false);
        m_takeButton->setEnabled(false);
    }
}

void MakerDialog::take()
{
    if (m_made && m_take(this, *m_made))
        accept();
}
