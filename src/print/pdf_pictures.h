#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

#include <optional>

// Pictures embedded in our PDF files as JPEG at the quality the workbooks use. Qt's PDF
// writer encodes every image itself at a fixed, much higher quality, so pages are drawn with
// a one-pixel stand-in for each picture and the stand-ins' streams are swapped for ours after.
namespace PdfPictures {

inline constexpr int Quality = 85;

// The JPEG bytes of a picture; transparency is laid on white, the colour of the paper.
QByteArray encode(const QImage& image);

// The stand-in drawn in a picture's place: every call a new image, so that each draw gets an
// object of its own.
QImage standIn();

struct Encoded {
    QSize size;
    QByteArray jpeg;
};

// The PDF with its image objects, in the order they were drawn, replaced by the pictures; the
// cross-reference table follows. Empty when the file does not hold one stand-in for each
// picture (it was not drawn that way).
std::optional<QByteArray> embed(const QByteArray& pdf, const QList<Encoded>& pictures);

} // namespace PdfPictures
