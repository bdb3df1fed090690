#include "modalwatcher.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

void ModalWatcher::onNextModal(QWidget *after, std::function<void(QWidget *)> step)
{
    auto *timer = new QTimer(&m_watches);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, after, step] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == after || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step(modal);
    });
    timer->start();
}
