#pragma once

#include "album/photo_copy.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class Prompts;
class Workspace;

// The copy run's progress: copies the photos of rows FirstNewRow..LastNewRow into
// ChosenFolder once it is first shown, then closes itself.
class DialogSamN2 : public QDialog {
    Q_OBJECT
public:
    DialogSamN2(Workspace& workspace, QWidget* parent = nullptr);
    const PhotoCopy::Summary& summary() const { return summary_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run();

    Workspace& workspace_;
    QProgressBar* ProgressBar1_ = nullptr;
    QLabel* Label1_ = nullptr;
    bool FirstActivation_ = true;
    PhotoCopy::Summary summary_;
};

namespace PhotoCopyCommand {

// "COPY": refuses an empty album, asks for the folder, announces the activity through
// setActivity (status panel 1), runs the copy and reports what was copied and what was not.
void CopyAllPhotos(Workspace& workspace, Prompts& prompts, QWidget* parent,
                   const std::function<void(const QString&)>& setActivity);

} // namespace PhotoCopyCommand
