#pragma once

#include "album/photo_copy.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class Prompts;
class Workspace;

// The copy run's progress: copies the photos of rows FirstNewRow..LastNewRow into
// ChosenFolder on a worker thread once it is first shown, then closes itself. 中止 stops the
// run between files; what was copied stays.
class DialogSamN2 : public QDialog {
    Q_OBJECT
public:
    DialogSamN2(Workspace& workspace, QWidget* parent = nullptr);
    const PhotoCopy::Summary& summary() const { return summary_; }

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window stops the run like 中止; the dialog closes when the run has ended.
    void reject() override;

private:
    void run();

    Workspace& workspace_;
    QProgressBar* ProgressBar1_ = nullptr;
    QLabel* Label1_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool FirstActivation_ = true;
    bool running_ = false;
    PhotoCopy::Summary summary_;
};

namespace PhotoCopyCommand {

// The widest line of the result box, in wide characters: longer names go on over further
// lines instead of widening the box past the screen.
inline constexpr int ResultWidth = 30;

// "COPY": refuses an empty album, asks for the folder, announces the activity through
// setActivity (status panel 1), runs the copy and reports what was copied and what was not.
void CopyAllPhotos(Workspace& workspace, Prompts& prompts, QWidget* parent,
                   const std::function<void(const QString&)>& setActivity);

} // namespace PhotoCopyCommand
