#include "driving/WhileModal.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

WhileModal::WhileModal(std::function<void(QDialog&)> look) : look_(std::move(look)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window || !QTest::qWaitForWindowExposed(window))
            return;
        poll_.stop();
        look_(*window);
        looked_ = true;
        window->close();
    });
    poll_.start(20);
}
