#pragma once

#include "base/progress.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class PrintDocument;
class QPainter;
struct PictureOp;
struct PictureSource;

// Where a page's pictures come from while it is drawn: decoded on the spot, or prepared ahead.
class PictureSupply {
public:
    virtual ~PictureSupply() = default;
    // The picture at the pixels its frame needs; a null image draws nothing.
    virtual QImage picture(const PictureSource& source, QSize pixels) = 0;
};

// Pictures are never drawn finer than this, whatever the device's resolution.
inline constexpr double PictureDpi = 300;

// The pixels a picture is drawn with at dpi: its frame's size at that resolution.
QSize picturePixels(const PictureOp& op, double dpi);

// The one routine that draws a page, on the preview, a printer or a PDF. The painter's origin
// is the page's top-left corner and its device has deviceDpi dots per inch; pictures are
// decoded for that resolution but never finer than pictureDpi.
void renderPage(const PrintDocument& document, int page, QPainter& painter, double deviceDpi,
                double pictureDpi = PictureDpi, PictureSupply* pictures = nullptr);

// Pages from..to drawn one after another, startPage(page) called before each; the pictures of
// the pages ahead are decoded on worker threads meanwhile. progress hears the pages drawn of
// all pages; a stop throws Cancelled before the next page.
void renderPages(const PrintDocument& document, int from, int to, QPainter& painter, double deviceDpi,
                 const std::function<void(int page)>& startPage, const Progress& progress = {});

extern const QString PdfActivity; // "PDFを作成しています…"

// "PDFを保存しました（N 頁）。" and where.
QString pdfSavedText(const QString& path, int pages);

// Pages from..to of the document as a PDF file, written atomically; the pictures are prepared
// on that many worker threads (0: as many as the processor runs at once). progress hears the
// pages drawn with PdfActivity; a stop throws Cancelled and writes nothing. Throws AppError.
void writePdf(const PrintDocument& document, const QString& path, int from, int to, int threads = 0,
              const Progress& progress = {});
