#include "support/message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {

QMessageBox* openBox() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

} // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::chrono::milliseconds reading) : reading_(reading) {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::look);
    timer_.start(20);
}

void MessageBoxAnswerer::look() {
    QMessageBox* box = openBox();
    if (box != box_) {
        box_ = box;
        clicked_ = nullptr;
        since_.start();
        return;
    }
    if (!box) return;
    if (!clicked_ && since_.elapsed() >= reading_.count()) {
        answered << box->text();
        if (QApplication::activeModalWidget() != box) covered << box->text();
        QAbstractButton* button = answers.empty() ? box->defaultButton() : box->button(answers.front());
        if (!answers.empty()) answers.pop_front();
        if (!button) button = box->buttons().constFirst();
        clicked_ = button;
        since_.start();
        // Through the box's window, as the window system delivers a click: a blocked window drops it.
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                          button->mapTo(box, button->rect().center()));
    } else if (clicked_ && since_.elapsed() >= 1000) {
        blocked << box->text();
        since_.start();
        clicked_->click(); // past whatever blocks the box, so that the test can go on
    }
}
