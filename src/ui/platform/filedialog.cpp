#include "filedialog.h"

#include "filefailurereason.h"

#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Qt's sizes keep the Latin "KiB" even in Russian.
QString russianSize(qint64 bytes)
{
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    if (bytes < 1024)
        return QStringLiteral("%1 байт").arg(russian.toString(bytes));
    const QString units[] = {QStringLiteral("КБ"), QStringLiteral("МБ"), QStringLiteral("ГБ"),
                             QStringLiteral("ТБ")};
    double value = bytes / 1024.0;
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return russian.toString(value, 'f', 2) + u' ' + units[unit];
}

// The file list's size, kind and date columns in Russian: Qt writes them in
// the machine's language and names every folder "Folder".
class RussianFileColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == 0)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        static const QLocale russian(QLocale::Russian, QLocale::Russia);
        switch (index.column()) {
        case 1:
            return files->isDir(source) ? QString() : russianSize(files->size(source));
        case 2:
            if (files->isDir(source))
                return QStringLiteral("Папка");
            break;
        case 3:
            return russian.toString(files->lastModified(source), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

FileDialog::FileDialog(QWidget *parent, Mode mode, bool mustExist, bool confirmOverwrite)
    : QFileDialog(parent), m_mustExist(mode == Mode::Open && mustExist),
      m_confirmOverwrite(mode == Mode::Save && confirmOverwrite)
{
    // A desktop's native dialog would speak the desktop's language and ask
    // its own questions.
    setOption(QFileDialog::DontUseNativeDialog);
    setProxyModel(new RussianFileColumns(this));
    if (mode == Mode::Open) {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(m_mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        // Qt's own question would read the file name as markup.
        setOption(QFileDialog::DontConfirmOverwrite);
    }
}

QString FileDialog::notFoundText(const QString &fileName)
{
    return QStringLiteral("Файл «%1» не найден.\nПроверьте, правильно ли указано имя файла.")
        .arg(fileName);
}

QString FileDialog::unreachableText(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(fileName, reason);
}

QString FileDialog::overwriteText(const QString &fileName)
{
    return QStringLiteral("Файл «%1» уже существует.\nЗаменить его?").arg(fileName);
}

void FileDialog::accept()
{
    const QStringList files = selectedFiles();
    const QFileInfo chosen(files.value(0));
    // A folder is entered by the base dialog; everything else is decided here.
    if (files.isEmpty() || chosen.isDir()) {
        QFileDialog::accept();
        return;
    }
    if (m_mustExist && !chosen.exists()) {
        const QString reason = FileFailureReason::ofMissingPath(chosen.filePath());
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        reason.isEmpty() ? notFoundText(chosen.fileName())
                                         : unreachableText(chosen.fileName(), reason),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
        box.exec();
        return;
    }
    if (m_confirmOverwrite && chosen.exists()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), overwriteText(chosen.fileName()),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    QFileDialog::accept();
}
