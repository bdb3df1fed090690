#include "printchoicedialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

PrintChoiceDialog::PrintChoiceDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintChoiceDialog"));
    setWindowTitle(QStringLiteral("Печать кроссворда"));
    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(QStringLiteral("Что напечатать?"), this);
    question->setTextFormat(Qt::PlainText);
    layout->addWidget(question);
    m_worksheet = new QRadioButton(QStringLiteral("Для учеников: пустая сетка и вопросы"), this);
    m_answers = new QRadioButton(QStringLiteral("Ключ с ответами"), this);
    m_both = new QRadioButton(QStringLiteral("И то, и другое"), this);
    auto *group = new QButtonGroup(this);
    for (QRadioButton *option : {m_worksheet, m_answers, m_both}) {
        group->addButton(option);
        layout->addWidget(option);
    }
    m_both->setChecked(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *print = buttons->addButton(QStringLiteral("Печать..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("print"));
    print->setDefault(true);
    QPushButton *preview =
        buttons->addButton(QStringLiteral("Просмотр..."), QDialogButtonBox::AcceptRole);
    preview->setObjectName(QStringLiteral("preview"));
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::clicked, this,
            [this, preview](QAbstractButton *button) { m_preview = button == preview; });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

Platform::PrintChoice PrintChoiceDialog::choice() const
{
    Platform::PrintChoice choice;
    choice.worksheet = !m_answers->isChecked();
    choice.answers = !m_worksheet->isChecked();
    choice.preview = m_preview;
    return choice;
}
