#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <deque>

// Answers the real message boxes that QtPrompts shows, as a user would: after reading for a
// while, a click on a button delivered as the window system delivers it, so that a box that
// another window blocks stays unanswered. Such a box is recorded and then closed from here,
// so that a test fails instead of hanging.
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(std::chrono::milliseconds reading);

    std::deque<QMessageBox::StandardButton> answers; // in turn; none left: the default button

    QStringList answered; // the text of every box, in order
    QStringList covered;  // boxes that were not the window on top when answered
    QStringList blocked;  // boxes the click did not close

private:
    void look();

    std::chrono::milliseconds reading_;
    QTimer timer_;
    QPointer<QMessageBox> box_;
    QPointer<QAbstractButton> clicked_;
    QElapsedTimer since_;
};
