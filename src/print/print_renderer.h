#pragma once

#include "base/progress.h"

#include <QImage>
#include <QList>
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

// A photo that could not be read when its page was drawn (gone since the pages were laid out,
// or damaged past its header): its frame is left empty.
struct UnreadPicture {
    int row = 0; // the album row; 0 for none
    QString path;
    QString reason;

    // As a row whose photo cannot be read is told before any page is drawn: "12 行目: 画像を
    // 読めません。", the file and the reason, one a line.
    QString text() const;
};

// What the user is told when pages went out with empty frames: the rows, then the first photo's
// failure.
QString unreadText(const QList<UnreadPicture>& unread);

// Pages from..to drawn one after another, startPage(page) called before each; the pictures of
// the pages ahead are decoded on worker threads meanwhile. progress hears the pages drawn of
// all pages; a stop throws Cancelled before the next page. Returns the photos left out.
QList<UnreadPicture> renderPages(const PrintDocument& document, int from, int to, QPainter& painter,
                                 double deviceDpi, const std::function<void(int page)>& startPage,
                                 const Progress& progress = {});

extern const QString PdfActivity; // "PDFを作成しています…"

// "PDFを保存しました（N 頁）。" and where.
QString pdfSavedText(const QString& path, int pages);

// Pages from..to of the document as a PDF file, written atomically; the pictures are prepared
// on that many worker threads (0: as many as the processor runs at once). progress hears the
// pages drawn with PdfActivity; a stop throws Cancelled and writes nothing. Throws AppError,
// and OutputFolderGone once the file's folder is not the one the run began with: nothing is
// written then. Returns the photos left out.
QList<UnreadPicture> writePdf(const PrintDocument& document, const QString& path, int from, int to,
                              int threads = 0, const Progress& progress = {});
