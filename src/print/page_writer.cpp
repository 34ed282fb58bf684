#include "print/page_writer.h"

#include "print/print_document.h"

void PageWriter::vspri(const QString& text, double x, double y, double size) {
    doc.FontSize = size;
    double offset = 0;
    if (TextAlign == Centre)
        offset = (TextBoxWidth * TwipsPerMm - doc.TextWidth(text)) / 2;
    else if (TextAlign == Right)
        offset = (TextBoxWidth - 1) * TwipsPerMm - doc.TextWidth(text);
    doc.CurrentX = (x + OriginX) * TwipsPerMm + offset;
    doc.CurrentY = (y + OriginY) * TwipsPerMm;
    doc.Print(text);
}

void PageWriter::rectangleMm(double x1, double y1, double x2, double y2) {
    doc.DrawRectangle(x1 * TwipsPerMm, y1 * TwipsPerMm, x2 * TwipsPerMm, y2 * TwipsPerMm);
}

void PageWriter::lineMm(double x1, double y1, double x2, double y2) {
    doc.DrawLine(x1 * TwipsPerMm, y1 * TwipsPerMm, x2 * TwipsPerMm, y2 * TwipsPerMm);
}
