#pragma once

#include "platform.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// What a check of the crossword found, one row each with its place. A double
// click, Enter or "Показать" chooses a row and closes the dialog; with
// nothing found it says "Ошибок не найдено".
class FindingsDialog : public QDialog
{
    Q_OBJECT

public:
    FindingsDialog(const QList<Platform::Finding> &findings, const QStringList &notes,
                   QWidget *parent = nullptr);

    // The row chosen, or -1.
    int chosen() const { return m_chosen; }

    QTreeWidget *list() const { return m_list; }

private:
    void choose();

    QTreeWidget *m_list = nullptr;
    QPushButton *m_show = nullptr;
    int m_chosen = -1;
};
