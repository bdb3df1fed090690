#include "dailypassword.h"

QString DailyPassword::forDate(const QDate &date, const QLocale &locale)
{
    // Counted in code points, so scripts with digits outside the BMP still
    // give four whole characters.
    // Invisible direction marks, which some locales put in dates, are left
    // out: nobody could type them.
    QList<uint> text;
    for (const uint c : locale.toString(date, QLocale::ShortFormat).toUcs4()) {
        if (QChar::category(char32_t(c)) != QChar::Other_Format)
            text << c;
    }
    QList<uint> picked;
    for (qsizetype position : {0, 1, 3, 4}) {
        if (position < text.size())
            picked << text[position];
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(picked.constData()), picked.size());
}
