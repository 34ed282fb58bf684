#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>
#include <variant>

// Twips: 1/1440 inch. Layouts convert millimetres with 56.7 twips per millimetre.
inline constexpr double TwipsPerInch = 1440.0;

// A picture placed in a document: the file and its upright size, read from the file's header.
// The pixels are decoded only when a page is drawn, at the size the output needs.
struct PictureSource {
    QString path;
    QSize size;
    QImage image; // pictures made in memory; empty for files
    int row = 0;  // the album row it shows, for telling a photo that cannot be read; 0 for none

    // Throws AppError when the file is missing or is not a picture.
    static std::shared_ptr<const PictureSource> fromFile(const QString& path, int row = 0);
    static std::shared_ptr<const PictureSource> fromImage(const QImage& image);
};

// Decodes a picture at no more than maxSize (keeping its proportions), EXIF orientation
// applied. A null image when the file cannot be read any more.
QImage decodePicture(const PictureSource& picture, QSize maxSize);

// The drawing state each operation carries, so that a page can be drawn from any operation on.
struct TextOp {
    double x, y; // top-left corner, twips
    QString text;
    QString fontName;
    double fontSize; // points
    QColor color;
};
struct PictureOp {
    double x1, y1, x2, y2;
    std::shared_ptr<const PictureSource> picture;
};
struct LineOp {
    double x1, y1, x2, y2;
    double penWidth;
};
struct RectangleOp {
    double x1, y1, x2, y2;
    double penWidth;
    int brushStyle;
};
struct CircleOp {
    double cx, cy, radius;
    double penWidth;
    int brushStyle;
};
using DrawOp = std::variant<TextOp, PictureOp, LineOp, RectangleOp, CircleOp>;

// The print component: a document built page by page in twips, measured from the page's
// top-left corner, shown by the preview and sent to a printer or a PDF from the same pages.
class PrintDocument {
public:
    enum PaperSize : int { PaperA3 = 8, PaperA4 = 9 };
    enum Orientation : int { Portrait = 0, Landscape = 1 };
    // Colour values with the high bit set name system colours.
    static constexpr quint32 SystemWindowText = 0x80000008u;
    static constexpr quint32 SystemButtonFace = 0x8000000Fu;
    static constexpr int BrushTransparent = 1;

    QString Device;
    QString DocName;
    bool Preview = false;
    double CurrentX = 0;
    double CurrentY = 0;
    QString FontName = QStringLiteral("Arial");
    double FontSize = 10;
    double PenWidth = 15;
    int BrushStyle = 0;

    void setPaperSize(int code) { paperSize_ = code == PaperA3 ? PaperA3 : PaperA4; }
    int paperSize() const { return paperSize_; }
    void setOrientation(int orientation) { orientation_ = orientation == Landscape ? Landscape : Portrait; }
    int orientation() const { return orientation_; }
    // The page in millimetres and in twips, turned for landscape.
    QSizeF pageSizeMm() const;
    QSizeF pageSizeTwips() const;

    int zoom() const { return zoom_; }
    void setZoom(int percent);

    // A colour value as the component takes it: 0x00BBGGRR or one of the system colours.
    void setTextColor(quint32 value);
    static QColor colorOf(quint32 value);

    void StartDoc();
    void NewPage();
    void EndDoc() { ended_ = true; }
    bool ended() const { return ended_; }
    int PageCount() const { return int(pages_.size()); }
    int previewPage() const { return previewPage_; }
    void setPreviewPage(int page);

    // Draws text with its top-left corner at the current position.
    void Print(const QString& text);
    // Width in twips in the current font.
    double TextWidth(const QString& text) const;
    void DrawPicture(std::shared_ptr<const PictureSource> picture, double x1, double y1, double x2,
                     double y2);
    void DrawLine(double x1, double y1, double x2, double y2);
    void DrawRectangle(double x1, double y1, double x2, double y2);
    void DrawCircle(double cx, double cy, double radius);

    // Pages count from 1.
    const QList<DrawOp>& page(int n) const { return pages_.at(n - 1); }

    // The font drawn for a name and a size in points, sized in twips (one pixel = one twip).
    static QFont fontFor(const QString& name, double points);

private:
    QList<DrawOp>& currentPage();

    QList<QList<DrawOp>> pages_;
    int paperSize_ = PaperA4;
    int orientation_ = Portrait;
    int zoom_ = 100;
    QColor textColor_ = Qt::black;
    bool ended_ = false;
    int previewPage_ = 1;
};
