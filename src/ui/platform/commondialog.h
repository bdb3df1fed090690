#pragma once

#include <QString>

class Platform;
class QWidget;

// A window's file dialog object: fixed filter, option flags set before each
// use, and the last file name it returned, offered again next time.
class CommonDialog
{
public:
    // Option flags with the values the design gives them.
    static constexpr int OverwritePrompt = 0x2;
    static constexpr int HideReadOnly = 0x4;
    static constexpr int FileMustExist = 0x1000;
    static constexpr int OpenFlags = FileMustExist | HideReadOnly; // 4100
    static constexpr int SaveFlags = OverwritePrompt;               // 2

    // The filter as the design writes it: description|pattern|...
    static const QString CrosswordFilter;

    CommonDialog(Platform &platform, QWidget *owner);

    void setFlags(int flags) { m_flags = flags; }
    int flags() const { return m_flags; }
    void setFilter(const QString &filter) { m_filter = filter; }
    const QString &filter() const { return m_filter; }
    const QString &fileName() const { return m_fileName; }

    // False when the user cancelled; the file name is then unchanged.
    bool showOpen();
    bool showSave();

    // "desc|pattern|desc2|pattern2|" to Qt's "desc;;desc2" with the patterns.
    static QString toQtFilter(const QString &filter);

private:
    bool show(bool save);

    Platform &m_platform;
    QWidget *m_owner;
    int m_flags = 0;
    QString m_filter = CrosswordFilter;
    QString m_fileName;
};
