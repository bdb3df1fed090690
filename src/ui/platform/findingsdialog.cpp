#include "findingsdialog.h"

#include "plaintext.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

FindingsDialog::FindingsDialog(const QList<Platform::Finding> &findings, const QStringList &notes,
                               QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FindingsDialog"));
    setWindowTitle(QStringLiteral("Проверка кроссворда"));
    auto *layout = new QVBoxLayout(this);
    auto *summary = new QLabel(
        findings.isEmpty()
            ? QStringLiteral("Ошибок не найдено.")
            : QStringLiteral("Найдено ошибок: %1. Выберите ошибку и нажмите «Показать», чтобы "
                             "перейти к ней.")
                  .arg(findings.size()),
        this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    auto *buttons = new QDialogButtonBox(this);
    if (!findings.isEmpty()) {
        m_list = new QTreeWidget(this);
        m_list->setObjectName(QStringLiteral("findings"));
        m_list->setAccessibleName(QStringLiteral("найденные ошибки"));
        m_list->setRootIsDecorated(false);
        m_list->setWordWrap(true);
        m_list->setHeaderLabels({QStringLiteral("Где"), QStringLiteral("Что не так")});
        int placeWidth = 0;
        for (const Platform::Finding &finding : findings) {
            new QTreeWidgetItem(m_list, {finding.place, finding.text});
            placeWidth = std::max(placeWidth, m_list->fontMetrics().horizontalAdvance(finding.place));
        }
        m_list->header()->setStretchLastSection(true);
        m_list->setColumnWidth(0, placeWidth + 24);
        m_list->setCurrentItem(m_list->topLevelItem(0));
        m_list->setMinimumSize(720, 260);
        layout->addWidget(m_list);
        connect(m_list, &QTreeWidget::itemActivated, this, &FindingsDialog::choose);

        m_show = buttons->addButton(QStringLiteral("Показать"), QDialogButtonBox::AcceptRole);
        m_show->setObjectName(QStringLiteral("show"));
        connect(m_show, &QPushButton::clicked, this, &FindingsDialog::choose);
    }
    // Remarks that are no error, such as clues in a free form.
    for (const QString &note : notes) {
        auto *label = new QLabel(note, this);
        PlainText::apply(label);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void FindingsDialog::choose()
{
    if (!m_list || !m_list->currentItem())
        return;
    m_chosen = m_list->indexOfTopLevelItem(m_list->currentItem());
    accept();
}
