#pragma once

#include <QString>

class PrintDocument;
class QPainter;

// The one routine that draws a page, on the preview, a printer or a PDF. The painter's origin
// is the page's top-left corner and its device has deviceDpi dots per inch; pictures are
// decoded for that resolution but never finer than pictureDpi.
void renderPage(const PrintDocument& document, int page, QPainter& painter, double deviceDpi,
                double pictureDpi = 300);

// Pages from..to of the document as a PDF file, written atomically. Throws AppError.
void writePdf(const PrintDocument& document, const QString& path, int from, int to);
