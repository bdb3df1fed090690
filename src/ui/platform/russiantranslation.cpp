#include "russiantranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Texts that Qt 6.4's Russian translation leaves in English: the "OK" of
// standard buttons (the print dialog's printer properties), the kind of a
// folder in file lists, and the common words among the paper sizes (names of
// formats such as Letter or A4 stay as they are).
class MissingRussian : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        const QByteArrayView where(context ? context : "");
        const QString text = QString::fromUtf8(sourceText ? sourceText : "");
        if (where == "QPlatformTheme" && text == u"OK")
            return QStringLiteral("ОК");
        if (where == "QAbstractFileIconProvider" && text == u"Folder")
            return QStringLiteral("Папка");
        if (where != "QPageSize")
            return {};
        static const std::pair<const char16_t *, const char16_t *> words[] = {
            {u"Envelope", u"Конверт"},
            {u"Double Postcard", u"Двойная открытка"},
            {u"Postcard", u"Открытка"},
            {u"Fan-fold US", u"Фальцованная американская"},
            {u"Fan-fold German Legal", u"Фальцованная немецкая Legal"},
            {u"Fan-fold German", u"Фальцованная немецкая"},
            {u" in)", u" дм)"},
            {u".", u","},
        };
        QString russian = text;
        for (const auto &[english, own] : words)
            russian.replace(QString::fromUtf16(english), QString::fromUtf16(own));
        return russian == text ? QString() : russian;
    }
};

} // namespace

bool RussianTranslation::install()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    if (app->findChild<QTranslator *>(QStringLiteral("missing_ru"), Qt::FindDirectChildrenOnly))
        return app->findChild<QTranslator *>(QStringLiteral("qtbase_ru"),
                                             Qt::FindDirectChildrenOnly) != nullptr;
    auto *translator = new QTranslator(app);
    translator->setObjectName(QStringLiteral("qtbase_ru"));
    const bool loaded = translator->load(QLocale(QLocale::Russian, QLocale::Russia),
                                         QStringLiteral("qtbase"), QStringLiteral("_"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    // Installed last, so asked first.
    auto *missing = new MissingRussian(app);
    missing->setObjectName(QStringLiteral("missing_ru"));
    QCoreApplication::installTranslator(missing);
    // Names of file kinds follow the default locale.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    return loaded;
}
