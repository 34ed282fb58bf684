#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The Exif data of a JPEG photo: the TIFF structure in its APP1 segment, read with every
// offset checked against the segment, whatever a damaged or hostile file claims.
namespace ExifData {

// The TIFF structure that follows "Exif\0\0" in the body of an APP1 segment, in either byte
// order. Reads outside it give 0 or nothing.
class Tiff {
public:
    // Invalid unless the body starts with "Exif\0\0" and a TIFF byte-order mark.
    static Tiff fromApp1(const QByteArray& app1);

    bool isValid() const { return valid_; }
    // The unsigned number of 1, 2 or 4 bytes at pos; 0 when it does not lie wholly inside.
    quint32 number(qint64 pos, int width) const;
    quint32 firstIfd() const { return number(4, 4); }
    // The IFD chained after `ifd` (IFD1 after IFD0); 0 when there is none.
    quint32 nextIfd(quint32 ifd) const;

    struct Entry {
        quint16 type = 0;
        quint32 count = 0;
        quint32 value = 0; // where the value stands: in the entry itself when it fits in four bytes
    };
    std::optional<Entry> find(quint32 ifd, quint16 tag) const;
    // The number a SHORT or LONG entry holds; nothing for other types or counts.
    std::optional<quint32> unsignedValue(quint32 ifd, quint16 tag) const;
    // Bytes [offset, offset + length) when they lie wholly inside; empty otherwise.
    QByteArray bytes(quint32 offset, quint32 length) const;

private:
    QByteArray data_;
    bool littleEndian_ = false;
    bool valid_ = false;
};

// A camera's small preview (IFD1's JPEGInterchangeFormat and JPEGInterchangeFormatLength)
// and the orientation of the photo (IFD0), which the preview shares.
struct Preview {
    QByteArray jpeg;     // empty when there is no preview inside the segment
    int orientation = 1; // Exif 1..8; 1 when absent or out of range
};
Preview previewOf(const QByteArray& app1);

// The body of the file's first Exif APP1 segment, found by walking the segments ahead of the
// picture data with bounded reads; empty when there is none or the file is no JPEG.
QByteArray app1Of(const QString& path);

} // namespace ExifData
