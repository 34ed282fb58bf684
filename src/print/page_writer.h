#pragma once

#include <QString>

class PrintDocument;

// Text placement shared by the album and label pages: positions in millimetres from an origin,
// left-aligned, centred or right-aligned in a box.
class PageWriter {
public:
    static constexpr double TwipsPerMm = 56.7;
    enum Align : int { Left = 1, Centre = 2, Right = 3 };

    explicit PageWriter(PrintDocument& document) : doc(document) {}

    // Prints text with its top-left corner (or its box) at x, y millimetres from the origin.
    void vspri(const QString& text, double x, double y, double size);

    // Shapes at millimetres from the page's top-left corner.
    void rectangleMm(double x1, double y1, double x2, double y2);
    void lineMm(double x1, double y1, double x2, double y2);

    PrintDocument& doc;
    int OriginX = 0; // mm
    int OriginY = 0;
    int TextAlign = Left;
    double TextBoxWidth = 0; // mm
};
