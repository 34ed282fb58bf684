#pragma once

#include <QWidget>

class QLabel;

// One photo over the whole screen, without a frame. Any click or key closes the view; the
// window stays for the next photo.
class frmFullScreen : public QWidget {
    Q_OBJECT
public:
    explicit frmFullScreen(QWidget* parent = nullptr);

    // Shows the photo centred, made smaller when it is larger than the screen. False, and
    // nothing shown, when the photo cannot be read; tooLarge then says whether it was refused
    // for its size.
    bool showPhoto(const QString& path, bool* tooLarge = nullptr);
    // Frees the photo and hides the window.
    void closeView();

    QLabel* picture() const { return Picture1_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Picture1_;
};
