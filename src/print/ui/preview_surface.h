#pragma once

#include "print/preview_pictures.h"

#include <QImage>
#include <QWidget>

class PrintDocument;

// The preview's page: the document's current page drawn at its zoom, on a grey desk.
class PreviewSurface : public QWidget {
    Q_OBJECT
public:
    explicit PreviewSurface(const PrintDocument& document, QWidget* parent = nullptr);

    // Call after the zoom or the current page changed.
    void refresh();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize pagePixels() const;

    const PrintDocument& document_;
    PreviewPictures pictures_; // the current page's and its neighbours'
    QImage rendered_;          // the current page at the current zoom
    int renderedPage_ = 0;
    int renderedZoom_ = 0;
};
