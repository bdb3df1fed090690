#include "filefailurereason.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

bool hasLatinLetters(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

} // namespace

// The system's reasons ("Permission denied", "Unknown error") used to reach
// the messages in English.
TEST(FileFailureReasonTest, CommonSystemErrorsHaveTheirOwnRussianPhrase)
{
    const struct
    {
        int error;
        const char *phrase;
    } cases[] = {
        {ENOENT, "нет такого файла или папки"},
        {EACCES, "доступ запрещён"},
        {EPERM, "доступ запрещён"},
        {ENOSPC, "диск заполнен"},
        {EFBIG, "превышен допустимый размер файла"},
#ifdef EDQUOT
        {EDQUOT, "диск заполнен"},
#endif
        {EROFS, "диск доступен только для чтения"},
        {EISDIR, "это папка, а не файл"},
        {EMFILE, "открыто слишком много файлов"},
        {ENFILE, "открыто слишком много файлов"},
        {ELOOP, "слишком много символических ссылок"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileFailureReason::fromErrno(c.error), QString::fromUtf8(c.phrase)) << c.error;

    const QString other = FileFailureReason::fromErrno(EXDEV);
    EXPECT_TRUE(other.contains(QString::number(EXDEV))) << "an unnamed error still tells which one";
    for (int error = 0; error < 140; ++error) {
        const QString phrase = FileFailureReason::fromErrno(error);
        EXPECT_FALSE(phrase.isEmpty()) << error;
        EXPECT_FALSE(hasLatinLetters(phrase)) << error << ": " << phrase.toStdString();
    }
}

TEST(FileFailureReasonTest, EveryQtFileErrorGivesARussianPhrase)
{
    for (int value = QFileDevice::NoError; value <= QFileDevice::CopyError; ++value) {
        const QString phrase =
            FileFailureReason::fromFileError(static_cast<QFileDevice::FileError>(value));
        EXPECT_FALSE(phrase.isEmpty()) << value;
        EXPECT_FALSE(hasLatinLetters(phrase)) << value << ": " << phrase.toStdString();
    }
    EXPECT_EQ(FileFailureReason::fromFileError(QFileDevice::WriteError),
              QStringLiteral("ошибка записи"));
}
