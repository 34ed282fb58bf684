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

    // Decodes the photo at a size fit for the first zoom steps; false when it cannot be read.
    bool load(const QString& path);
    bool hasPhoto() const { return !image_.isNull(); }
    const PhotoInfo::Zoom& zoom() const { return zoom_; }
    // The pixels held for drawing: a deeper zoom brings the photo's own pixels.
    QSize decodedSize() const { return image_.size(); }
    // Said in the view in place of a photo that was refused; empty otherwise.
    const QString& note() const { return note_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void decodeDetail();

    QString path_;
    QImage image_;
    bool detailed_ = false; // image_ holds every pixel the deepest zoom can show
    QString note_;
    PhotoInfo::Zoom zoom_;
};
