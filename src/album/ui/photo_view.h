#pragma once

#include "album/photo_info.h"

#include <QImage>
#include <QWidget>

// Picture2: the photo fitted into the view, zoomed in on the clicked point by a left click
// and shown whole again by a right click.
class PhotoView : public QWidget {
    Q_OBJECT
public:
    explicit PhotoView(QWidget* parent = nullptr);

    // Decodes the photo at a size fit for the deepest zoom; false when it cannot be read.
    bool load(const QString& path);
    bool hasPhoto() const { return !image_.isNull(); }
    const PhotoInfo::Zoom& zoom() const { return zoom_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    PhotoInfo::Zoom zoom_;
};
