#include "dailypassword.h"

#include <QSet>

#include <gtest/gtest.h>

TEST(DailyPasswordTest, RussianPasswordIsDayThenMonthDigits)
{
    const QLocale russian(QLocale::Russian);
    EXPECT_EQ(DailyPassword::forDate(QDate(2026, 12, 8), russian), QStringLiteral("0812"));
    EXPECT_EQ(DailyPassword::forDate(QDate(2028, 2, 29), russian), QStringLiteral("2902"));
    EXPECT_EQ(DailyPassword::forDate(QDate(2027, 1, 1), russian), QStringLiteral("0101"));
}

TEST(DailyPasswordTest, EveryKnownLocaleGivesExactlyFourCharactersTheSameForTheSameDate)
{
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    const QDate dates[] = {QDate(2028, 1, 1), QDate(2026, 12, 31), QDate(2028, 2, 29),
                           QDate(2026, 12, 8), QDate(1999, 9, 9)};
    for (const QLocale &locale : locales) {
        for (const QDate &date : dates) {
            const QString password = DailyPassword::forDate(date, locale);
            // Counted in code points: some locales write digits outside the BMP.
            EXPECT_EQ(password.toUcs4().size(), 4)
                << locale.name().toStdString() << " "
                << locale.toString(date, QLocale::ShortFormat).toStdString() << " gives \""
                << password.toStdString() << '"';
            EXPECT_EQ(DailyPassword::forDate(date, locale), password);
            // Direction marks of right-to-left dates cannot be typed in the input box.
            for (const uint c : password.toUcs4())
                EXPECT_NE(QChar::category(char32_t(c)), QChar::Other_Format)
                    << locale.name().toStdString();
        }
    }
}

TEST(DailyPasswordTest, RussianPasswordsDifferForEveryDayOfTheYear)
{
    // Any two dates of a year differ in day or month, so no two may share a password;
    // a leap year covers 29 February too.
    const QLocale russian(QLocale::Russian);
    QSet<QString> seen;
    for (QDate date(2028, 1, 1); date.year() == 2028; date = date.addDays(1)) {
        const QString password = DailyPassword::forDate(date, russian);
        EXPECT_FALSE(seen.contains(password)) << date.toString(Qt::ISODate).toStdString();
        seen.insert(password);
    }
    EXPECT_EQ(seen.size(), 366);
    // The year does not take part: the same day of another year repeats the password.
    EXPECT_EQ(DailyPassword::forDate(QDate(2031, 3, 14), russian),
              DailyPassword::forDate(QDate(2028, 3, 14), russian));
}

// On Windows the short date format is the user's setting (Wine takes it from
// the Russian locale that scripts/windows/test.sh gives it), not Qt's table.
TEST(DailyPasswordTest, TheSystemsRussianShortDateGivesDayThenMonth)
{
    if (QLocale::system().language() != QLocale::Russian)
        GTEST_SKIP() << "the system's locale is not Russian";
    EXPECT_EQ(QLocale::system().toString(QDate(2026, 12, 8), QLocale::ShortFormat),
              QStringLiteral("08.12.2026"));
    EXPECT_EQ(DailyPassword::forDate(QDate(2026, 12, 8), QLocale::system()), QStringLiteral("0812"));
}
