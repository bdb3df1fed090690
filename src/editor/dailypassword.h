#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The password that guards opening a crossword in the editing window: the
// first, second, fourth and fifth characters of today's date written in the
// user's short date format, in that order. In the Russian format 08.12.2026
// gives "0812" (day and month digits). Invisible direction marks are not
// counted. Every short format is at least five characters long, so the
// password always has exactly four characters.
class DailyPassword
{
public:
    static QString forDate(const QDate &date, const QLocale &locale);
};
