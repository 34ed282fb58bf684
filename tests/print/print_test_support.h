#pragma once

#include "print/print_document.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>
#include <variant>

// Writes a JPEG of the given size; returns its path.
QString writeTestPhoto(const QString& folder, const QString& name, int width, int height);

// The operations of one kind on a page, in the order drawn.
template <typename Op> QList<Op> opsOf(const PrintDocument& document, int page) {
    QList<Op> found;
    for (const DrawOp& op : document.page(page))
        if (const Op* typed = std::get_if<Op>(&op)) found.append(*typed);
    return found;
}

// Twips to millimetres as the layouts convert them.
inline double mm(double twips) {
    return twips / 56.7;
}

// Text of a PDF through pdftotext; empty optional when the tool is missing.
std::optional<QString> pdfText(const QString& path);
std::optional<int> pdfPageCount(const QString& path);
// One field of pdfinfo's report ("Title"); empty optional when the tool is missing.
std::optional<QString> pdfInfo(const QString& path, const QString& field);
// pdfimages' list of the pictures in a PDF; empty optional when the tool is missing.
std::optional<QString> pdfImageList(const QString& path);
// One page drawn by pdftoppm; empty optional when the tool is missing.
std::optional<QImage> pdfPageImage(const QString& path, int page, int dpi);
