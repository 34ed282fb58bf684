#include "print/pdf_pictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QMap>
#include <QPainter>

#include <algorithm>
#include <cctype>

namespace PdfPictures {

QByteArray encode(const QImage& image) {
    QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    if (image.hasAlphaChannel()) {
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(Quality);
    writer.write(opaque);
    return bytes;
}

QImage standIn() {
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

namespace {

// Reads the whitespace-separated words of the cross-reference table.
struct Words {
    const QByteArray& bytes;
    qsizetype at;

    QByteArray next() {
        while (at < bytes.size() && std::isspace(uchar(bytes.at(at))))
            ++at;
        const qsizetype start = at;
        while (at < bytes.size() && !std::isspace(uchar(bytes.at(at))))
            ++at;
        return bytes.mid(start, at - start);
    }
};

struct Object {
    int number;
    qsizetype offset;
    qsizetype end = 0;
};

struct Layout {
    QList<Object> objects; // in file order
    qsizetype xrefAt = 0;
    qsizetype trailerAt = 0;
    int size = 0; // one past the highest object number
};

std::optional<Layout> readLayout(const QByteArray& pdf) {
    Layout layout;
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0) return {};
    bool ok = false;
    layout.xrefAt = Words{pdf, start + 9}.next().toLongLong(&ok);
    if (!ok || layout.xrefAt <= 0 || layout.xrefAt >= start) return {};
    Words words{pdf, layout.xrefAt};
    if (words.next() != "xref") return {};
    for (QByteArray word = words.next(); word != "trailer"; word = words.next()) {
        const int first = word.toInt(&ok);
        const int count = ok ? words.next().toInt(&ok) : 0;
        if (!ok || first < 0 || count < 0) return {};
        for (int n = first; n < first + count; ++n) {
            const qsizetype offset = words.next().toLongLong(&ok);
            words.next();
            const QByteArray kind = words.next();
            if (!ok || (kind != "n" && kind != "f")) return {};
            if (kind == "n") layout.objects.append({n, offset});
            layout.size = std::max(layout.size, n + 1);
        }
    }
    layout.trailerAt = words.at - 7;
    std::sort(layout.objects.begin(), layout.objects.end(),
              [](const Object& a, const Object& b) { return a.offset < b.offset; });
    for (qsizetype i = 0; i < layout.objects.size(); ++i) {
        Object& object = layout.objects[i];
        object.end = i + 1 < layout.objects.size() ? layout.objects.at(i + 1).offset : layout.xrefAt;
        if (object.offset <= 0 || object.end > layout.xrefAt ||
            !pdf.mid(object.offset).startsWith(QByteArray(QByteArray::number(object.number) + " 0 obj")))
            return {};
    }
    return layout;
}

// The object's dictionary, up to its stream.
QByteArray dictionaryOf(const QByteArray& pdf, const Object& object) {
    const QByteArray body = pdf.mid(object.offset, object.end - object.offset);
    const qsizetype stream = body.indexOf("stream");
    return stream < 0 ? body : body.left(stream);
}

int numberAfter(const QByteArray& dictionary, const char* key) {
    const qsizetype at = dictionary.indexOf(key);
    if (at < 0) return -1;
    bool ok = false;
    const int value = Words{dictionary, at + qsizetype(qstrlen(key))}.next().toInt(&ok);
    return ok ? value : -1;
}

QByteArray imageObject(int number, const Encoded& picture) {
    return QByteArray::number(number) + " 0 obj\n<<\n/Type /XObject\n/Subtype /Image\n/Width " +
           QByteArray::number(picture.size.width()) + "\n/Height " +
           QByteArray::number(picture.size.height()) +
           "\n/BitsPerComponent 8\n/ColorSpace /DeviceRGB\n/Length " +
           QByteArray::number(picture.jpeg.size()) + "\n/Filter /DCTDecode\n>>\nstream\n" + picture.jpeg +
           "\nendstream\nendobj\n";
}

} // namespace

std::optional<QByteArray> embed(const QByteArray& pdf, const QList<Encoded>& pictures) {
    const std::optional<Layout> layout = readLayout(pdf);
    if (!layout || layout->objects.isEmpty()) return {};
    QByteArray out = pdf.left(layout->objects.first().offset);
    out.reserve(pdf.size());
    QMap<int, qsizetype> offsets;
    qsizetype used = 0;
    for (const Object& object : layout->objects) {
        offsets.insert(object.number, out.size());
        const QByteArray dictionary = dictionaryOf(pdf, object);
        if (!dictionary.contains("/Subtype /Image")) {
            out.append(pdf.mid(object.offset, object.end - object.offset));
            continue;
        }
        if (used == pictures.size() || numberAfter(dictionary, "/Width") != 1 ||
            numberAfter(dictionary, "/Height") != 1)
            return {};
        out.append(imageObject(object.number, pictures.at(used++)));
    }
    if (used != pictures.size()) return {};
    const qsizetype xrefAt = out.size();
    out.append("xref\n0 " + QByteArray::number(layout->size) + '\n');
    for (int n = 0; n < layout->size; ++n)
        out.append(offsets.contains(n)
                       ? QByteArray::number(offsets.value(n)).rightJustified(10, '0') + " 00000 n \n"
                       : QByteArray("0000000000 65535 f \n"));
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    out.append(pdf.mid(layout->trailerAt, startxref - layout->trailerAt));
    out.append("startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n");
    return out;
}

} // namespace PdfPictures
