#pragma once

#include "print/page_writer.h"

#include <QRectF>
#include <QSize>
#include <QString>

class AlbumSheet;
class PrintDocument;
class Settings;

// The album page geometry from the settings, in millimetres.
struct AlbumLayout {
    QString InfoFontName;
    double InfoFontSize = 10.5;
    int PhotosPerPage = 3;
    int OriginX = 0; // left margin
    int OriginY = 0; // top margin
    int FrameWidth = 0;
    int FrameHeight = 0;
    double MarginBottom = 0;
    double MarginRight = 0;
    bool BlankMarkEmpty = false;
    bool MirrorA3 = false;

    static AlbumLayout fromSettings(const Settings& settings);

    // Vertical space between two frames; negative when three frames do not fit.
    double gap() const;
    double RowPitch() const { return gap() + FrameHeight; }
};

// Where one photo of a page goes.
struct SlotPlace {
    int ColumnBase = 0; // 0 left column, 3 right half of an A3 page
    int row = 0;        // 0..2 down the column
    int PhotoX = 0;     // left edge of the frame, mm
    int TextX = 0;      // left edge of the information box, mm
    double frameTop = 0;
};
SlotPlace placeSlot(const AlbumLayout& layout, int slotIndex);

// The picture's rectangle in millimetres: as wide as the frame and top-aligned, or, when that
// would be taller than the frame, as high as the frame and centred across it.
QRectF pictureRectMm(const AlbumLayout& layout, const SlotPlace& place, QSize picture);

namespace AlbumPages {

extern const QString CannotPlace; // "配置できません。条件の余白等の調整を行って下さい。"
extern const QString NoFrame;     // a photo size of 0, which would give pages without photos
extern const QString BlankMark; // "余白"

struct Result {
    enum class Status { Built, CannotPlace, NoFrame, RowFailed };
    Status status = Status::Built;
    int failedRow = 0;
    QString detail; // why the row failed: the photo's file and the reason

    // The message for a failed row: the row, then the detail.
    QString rowFailure() const;
};

// Why the layout cannot be built at all (NoFrame, CannotPlace), or Built when it can.
Result::Status refusal(const AlbumLayout& layout);

// Lays out rows 1..rowCount of the sheet, three or six to a page, into a started document.
// A layout refused above builds nothing; a failing row stops the building there, and the
// pages before it are kept.
Result out1(PrintDocument& document, const AlbumLayout& layout, const AlbumSheet& sheet, int rowCount);

// The ruled information box and lines 1 to 8 of the information text beside a photo.
void f_overl(PageWriter& writer, const AlbumLayout& layout, const SlotPlace& place, const QString& info);

} // namespace AlbumPages
