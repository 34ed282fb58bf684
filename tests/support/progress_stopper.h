#pragma once

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Presses 中止 in a job's progress window as soon as it shows, with a click delivered as the
// window system delivers it, and notes how the window looked.
class ProgressStopper : public QObject {
public:
    explicit ProgressStopper(QString objectName) : objectName_(std::move(objectName)) {
        connect(&timer_, &QTimer::timeout, this, &ProgressStopper::look);
        timer_.start(20);
    }

    QString title;      // of the progress window, once it showed
    QString buttonText; // of its stop button

private:
    void look() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            if (!dialog || !dialog->isVisible() || dialog->objectName() != objectName_) continue;
            auto* stop = dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"));
            if (!stop || !stop->isEnabled()) return;
            title = dialog->windowTitle();
            buttonText = stop->text();
            QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                              stop->mapTo(dialog, stop->rect().center()));
            return;
        }
    }

    QString objectName_;
    QTimer timer_;
};
