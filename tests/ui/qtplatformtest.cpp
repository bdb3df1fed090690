// The real dialogs behind the platform interface, answered from the event loop
// while they are up: their language, their questions and where they stand.
#include "filedialog.h"
#include "modalwatcher.h"
#include "qtplatform.h"
#include "testplatform.h"

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

// Windows allows no < or > in a name; entities are markup as much.
const QString HostileName = TestPlatform::Windows
                                ? QStringLiteral("&lt;u&gt;under &amp;lt; RED.crs")
                                : QStringLiteral("<u>under <font color=red size=7>RED.crs");

std::string text(const QString &value)
{
    return value.toStdString();
}

bool hasLatin(const QString &value)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    return value.contains(latin);
}

// Every caption a user reads on the dialog's own labels and buttons.
QStringList captions(QWidget *dialog)
{
    QStringList texts;
    for (const QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    }
    for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (!button->isVisible())
            continue;
        if (!button->text().isEmpty())
            texts << button->text();
        if (!button->toolTip().isEmpty())
            texts << button->toolTip();
    }
    return texts;
}

void expectPlainMessage(QWidget *modal, const QString &expected)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    ASSERT_NE(box, nullptr) << "expected a message box, got " << modal->metaObject()->className();
    auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(text(label->text()), text(expected));
}

class QtPlatformTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    void touch(const QString &name, qsizetype size = 0)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(QByteArray(size, 'x')), size);
    }

    void onNextModal(QWidget *after, std::function<void(QWidget *)> step)
    {
        m_watcher.onNextModal(after, std::move(step));
    }

    QtPlatform platform;
    QTemporaryDir dir;

private:
    ModalWatcher m_watcher;
};

} // namespace

TEST_F(QtPlatformTest, SaveAsAsksInRussianBeforeReplacingAFileAndNamesItAsPlainText)
{
    touch(HostileName);
    Platform::FileDialogRequest request;
    request.mode = Platform::FileDialogRequest::Mode::Save;
    request.confirmOverwrite = true;
    request.filter = QStringLiteral("файлы кроссворда (*.crs)");
    request.initialFileName = path(HostileName);

    int questions = 0;
    bool stayedAfterNo = false;
    onNextModal(nullptr, [&](QWidget *dialog) {
        EXPECT_EQ(text(dialog->windowTitle()), "Сохранить как");
        for (const QString &caption : captions(dialog))
            EXPECT_FALSE(hasLatin(caption)) << text(caption);
        auto *box = dialog->findChild<QDialogButtonBox *>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(text(box->button(QDialogButtonBox::Cancel)->text()), "Отмена");

        onNextModal(dialog, [&](QWidget *modal) {
            ++questions;
            expectPlainMessage(modal, FileDialog::overwriteText(HostileName));
            auto *question = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(text(question->button(QMessageBox::Yes)->text()), "Да");
            EXPECT_EQ(text(question->button(QMessageBox::No)->text()), "Нет");
            EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::No));
            question->button(QMessageBox::No)->click();
        });
        QMetaObject::invokeMethod(dialog, "accept");
        stayedAfterNo = dialog->isVisible();

        onNextModal(dialog, [&](QWidget *modal) {
            ++questions;
            if (auto *question = qobject_cast<QMessageBox *>(modal))
                question->button(QMessageBox::Yes)->click();
        });
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::optional<QString> chosen = platform.fileDialog(nullptr, request);
    EXPECT_EQ(questions, 2);
    EXPECT_TRUE(stayedAfterNo) << "\"Нет\" goes back to the dialog";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(text(QFileInfo(*chosen).fileName()), text(HostileName));

    // A new name is taken without a question.
    request.initialFileName = path(QStringLiteral("новый.crs"));
    onNextModal(nullptr, [&](QWidget *dialog) {
        onNextModal(dialog, [&](QWidget *modal) {
            ++questions;
            modal->close();
        });
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(platform.fileDialog(nullptr, request), path(QStringLiteral("новый.crs")));
    QTest::qWait(30);
    EXPECT_EQ(questions, 2);
}

TEST_F(QtPlatformTest, OpenSpeaksRussianAndRefusesAMissingFileWithItsOwnMessage)
{
    // Large enough for the list to give its size in kilobytes.
    touch(QStringLiteral("дом.crs"), 3500);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("папка")));
    Platform::FileDialogRequest request;
    request.mode = Platform::FileDialogRequest::Mode::Open;
    request.fileMustExist = true;
    request.filter = QStringLiteral("файлы кроссворда (*.crs)");
    request.initialFileName = path(HostileName);

    bool stayed = false;
    onNextModal(nullptr, [&](QWidget *widget) {
        auto *dialog = qobject_cast<QFileDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(text(dialog->windowTitle()), "Открыть");
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        for (const QString &caption : captions(dialog))
            EXPECT_FALSE(hasLatin(caption)) << text(caption);

        // The file list's columns, whatever the machine's language.
        const QAbstractItemModel *files = dialog->proxyModel();
        ASSERT_NE(files, nullptr);
        for (int column = 0; column < 4; ++column)
            EXPECT_FALSE(hasLatin(files->headerData(column, Qt::Horizontal).toString())) << column;
        const QModelIndex root = dialog->proxyModel()->mapFromSource(
            static_cast<QFileSystemModel *>(dialog->proxyModel()->sourceModel())
                ->index(dir.path()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return files->rowCount(root) == 2; }, 3000));
        for (int row = 0; row < 2; ++row) {
            const bool folder = files->index(row, 0, root).data().toString() == "папка";
            // A file's kind is the system's description of its type, outside the program.
            for (int column : folder ? QList<int>{2, 3} : QList<int>{1, 3}) {
                const QString shown = files->index(row, column, root).data().toString();
                EXPECT_FALSE(hasLatin(shown)) << row << "," << column << " " << text(shown);
            }
            if (folder)
                EXPECT_EQ(text(files->index(row, 2, root).data().toString()), "Папка");
            else
                EXPECT_EQ(text(files->index(row, 1, root).data().toString()), "3,42 КБ");
        }

        onNextModal(dialog, [&](QWidget *modal) {
            expectPlainMessage(modal, FileDialog::notFoundText(HostileName));
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                EXPECT_EQ(text(box->button(QMessageBox::Ok)->text()), "ОК");
                box->button(QMessageBox::Ok)->click();
            }
        });
        QMetaObject::invokeMethod(dialog, "accept");
        stayed = dialog->isVisible();

#ifndef Q_OS_WIN // QFile::link makes a shortcut there, no symbolic link
        // A loop of symbolic links is no missing file.
        ASSERT_TRUE(
            QFile::link(path(QStringLiteral("петля.crs")), path(QStringLiteral("петля.crs"))));
        dialog->selectFile(path(QStringLiteral("петля.crs")));
        onNextModal(dialog, [&](QWidget *modal) {
            expectPlainMessage(modal, QStringLiteral("Не удалось открыть файл «петля.crs»: слишком "
                                                     "много символических ссылок."));
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                box->button(QMessageBox::Ok)->click();
        });
        QMetaObject::invokeMethod(dialog, "accept");
        stayed = stayed && dialog->isVisible();
#endif
        dialog->reject();
    });
    EXPECT_FALSE(platform.fileDialog(nullptr, request).has_value());
    EXPECT_TRUE(stayed) << "a missing file keeps the dialog open";
}

TEST_F(QtPlatformTest, InputBoxStandsAtItsPlaceWithRussianButtonsAndAPlainPrompt)
{
    const QString prompt = QStringLiteral("введите <b>пароль</b>");
    QPoint shownAt;
    onNextModal(nullptr, [&](QWidget *modal) {
        auto *box = qobject_cast<QInputDialog *>(modal);
        ASSERT_NE(box, nullptr);
        shownAt = box->pos();
        EXPECT_EQ(text(box->windowTitle()), "открытие кроссворда");
        EXPECT_EQ(text(box->okButtonText()), "ОК");
        EXPECT_EQ(text(box->cancelButtonText()), "Отмена");
        auto *label = box->findChild<QLabel *>();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(label->text(), prompt);
        QTest::keyClicks(box->findChild<QLineEdit *>(), QStringLiteral("0812"));
        box->accept();
    });
    EXPECT_EQ(platform.inputBox(nullptr, prompt, QStringLiteral("открытие кроссворда"),
                                TwipPoint{3800, 5000}),
              QStringLiteral("0812"));
    EXPECT_EQ(shownAt, QPoint(253, 333));

    onNextModal(nullptr, [](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); });
    EXPECT_EQ(platform.inputBox(nullptr, prompt, QString(), TwipPoint{3800, 5000}), QString());
}

TEST_F(QtPlatformTest, MessageNamesAFileAsPlainText)
{
    const QString message = QStringLiteral("Файл «%1» не найден.").arg(path(HostileName));
    onNextModal(nullptr, [&](QWidget *modal) {
        expectPlainMessage(modal, message);
        EXPECT_EQ(text(modal->windowTitle()), "Кварцелла 2.0");
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            EXPECT_EQ(text(box->button(QMessageBox::Ok)->text()), "ОК");
            box->button(QMessageBox::Ok)->click();
        }
    });
    platform.showMessage(nullptr, QStringLiteral("Кварцелла 2.0"), message);
}

// The editing window's dialogs for printing, checking and asking: each answer as
// the user gave it, Qt's print dialogs in Russian, a file name as plain text.
TEST_F(QtPlatformTest, TeachersDialogsAnswerAsChosenAndQtsPrintDialogsSpeakRussian)
{
    const auto russianOnly = [](QWidget *dialog) {
        for (QString caption : captions(dialog))
            EXPECT_FALSE(hasLatin(caption.remove(QStringLiteral("PDF")))) << text(caption);
    };
    const auto clickOn = [](QWidget *dialog, const QString &caption) {
        for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>()) {
            if (b->isVisible() && b->text().remove(u'&') == caption)
                return b->click();
        }
        ADD_FAILURE() << "no button " << text(caption);
    };

    onNextModal(nullptr, [&](QWidget *dialog) {
        clickOn(dialog, QStringLiteral("Ключ с ответами"));
        clickOn(dialog, QStringLiteral("Просмотр..."));
    });
    const std::optional<Platform::PrintChoice> choice = platform.choosePrint(nullptr);
    ASSERT_TRUE(choice);
    EXPECT_TRUE(!choice->worksheet && choice->answers && choice->preview);

    onNextModal(nullptr, [&](QWidget *dialog) {
        auto *list = dialog->findChild<QTreeWidget *>();
        ASSERT_NE(list, nullptr);
        list->setCurrentItem(list->topLevelItem(1));
        clickOn(dialog, QStringLiteral("Показать"));
    });
    EXPECT_EQ(
        platform.chooseFinding(
            nullptr, {{"строка 1, столбец 1", "Номер."}, {"вопросы, строка 2", "Вопрос."}}, {}),
        1);

    const QString question = QStringLiteral("Записан «%1».").arg(HostileName);
    onNextModal(nullptr, [&](QWidget *modal) {
        expectPlainMessage(modal, question);
        clickOn(modal, QStringLiteral("Закрыть"));
    });
    EXPECT_EQ(platform.ask(nullptr, QStringLiteral("Кварцелла 2.0"), question,
                           {QStringLiteral("Открыть в браузере"), QStringLiteral("Закрыть")}),
              1);

#ifdef Q_OS_WIN
    return; // Windows' print dialog is the system's own, which no test can press
#endif
    // Printing from the preview's own button (the teacher's round prints without one).
    int painted = 0;
    const Platform::Paint paint = [&painted](QPrinter *printer) {
        QPainter painter;
        if (!painter.begin(printer))
            return false;
        ++painted;
        // A printer that cannot start the job.
        return !printer->outputFileName().endsWith(QStringLiteral("отказ.pdf"));
    };
    const auto printTo = [&](const QString &file) {
        return [&, file](QWidget *dialog) {
            auto *print = qobject_cast<QPrintDialog *>(dialog);
            ASSERT_NE(print, nullptr);
            EXPECT_FALSE(print->testOption(QAbstractPrintDialog::PrintPageRange))
                << "pages are painted whole, a range is the print service's";
            auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
            ASSERT_NE(printers, nullptr);
            printers->setCurrentIndex(printers->findText(QStringLiteral("Печать в файл (PDF)")));
            onNextModal(dialog, [&](QWidget *properties) {
                russianOnly(properties);
                clickOn(properties, QStringLiteral("ОК"));
            });
            clickOn(dialog, QStringLiteral("Свойства"));
            russianOnly(dialog);
            dialog->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(file);
            clickOn(dialog, QStringLiteral("Печать"));
        };
    };
    QPrinter printer(QPrinter::HighResolution);
    onNextModal(nullptr, [&](QWidget *preview) {
        EXPECT_EQ(text(preview->windowTitle()), "Просмотр печати");
        russianOnly(preview);
        onNextModal(preview, printTo(path(QStringLiteral("отказ.pdf"))));
        for (QAction *action : preview->findChildren<QAction *>()) {
            if (action->text() == QStringLiteral("Печать"))
                action->trigger();
        }
    });
    EXPECT_EQ(platform.print(nullptr, &printer, true, paint),
              QStringLiteral("файл «%1» не удалось записать").arg(path(QStringLiteral("отказ.pdf"))));
    EXPECT_GE(painted, 2) << "the preview paints the pages too";
}
