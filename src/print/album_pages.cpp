#include "print/album_pages.h"

#include "base/app_error.h"
#include "base/shared_routines.h"
#include "print/print_document.h"
#include "print/print_setup.h"
#include "workspace/album_sheet.h"
#include "workspace/settings.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Usable page height for A4 portrait and A3 landscape, and the box beside each photo.
constexpr double UsableHeight = 287;
constexpr double BoxWidth = 32;
constexpr double CellHeight = 7.7;
constexpr int InfoLines = 8;
constexpr double TextFitWidth = 31;

int roundHalfEven(double value) {
    return int(std::nearbyint(value));
}

} // namespace

AlbumLayout AlbumLayout::fromSettings(const Settings& settings) {
    AlbumLayout layout;
    const InfoFont font = InfoFont::parse(settings.itemText(SettingItem::InfoFont));
    layout.InfoFontName = font.name;
    layout.InfoFontSize = font.size;
    layout.PhotosPerPage = settings.itemNumber(SettingItem::PaperLayout) == 0 ? 6 : 3;
    layout.OriginX = settings.itemInt(SettingItem::MarginLeftMm);
    layout.OriginY = settings.itemInt(SettingItem::MarginTopMm);
    layout.FrameWidth = settings.itemInt(SettingItem::PhotoWidthMm);
    layout.FrameHeight = settings.itemInt(SettingItem::PhotoHeightMm);
    layout.MarginBottom = settings.itemNumber(SettingItem::MarginBottomMm);
    layout.MarginRight = settings.itemNumber(SettingItem::MarginRightMm);
    layout.BlankMarkEmpty = settings.itemIsOn(SettingItem::BlankMarkEmpty);
    layout.MirrorA3 = settings.itemNumber(SettingItem::MirrorA3) != 0;
    return layout;
}

double AlbumLayout::gap() const {
    return (UsableHeight - (OriginY + MarginBottom + 3.0 * FrameHeight)) / 2;
}

SlotPlace placeSlot(const AlbumLayout& layout, int slotIndex) {
    SlotPlace place;
    const int left = layout.OriginX;
    const double right = layout.MarginRight;
    if (slotIndex <= 2) {
        place.PhotoX = left;
        place.TextX = roundHalfEven(200 - right - BoxWidth);
    } else if (!layout.MirrorA3) {
        place.ColumnBase = 3;
        place.PhotoX = roundHalfEven(210 + right);
        place.TextX = roundHalfEven(410 - left - BoxWidth);
    } else {
        place.ColumnBase = 3;
        place.PhotoX = 410 - left - layout.FrameWidth;
        place.TextX = roundHalfEven(210 + right);
    }
    place.row = slotIndex - place.ColumnBase;
    place.frameTop = layout.OriginY + place.row * layout.RowPitch();
    return place;
}

QRectF pictureRectMm(const AlbumLayout& layout, const SlotPlace& place, QSize picture) {
    const double ratio = double(picture.width()) / picture.height();
    const double width = layout.FrameWidth;
    const double height = layout.FrameHeight;
    if (width / ratio <= height) return QRectF(place.PhotoX, place.frameTop, width, width / ratio);
    return QRectF(place.PhotoX + (width - height * ratio) / 2, place.frameTop, height * ratio, height);
}

namespace AlbumPages {

const QString CannotPlace = u"配置できません。条件の余白等の調整を行って下さい。"_s;
const QString NoFrame = u"写真サイズが0のため配置できません。条件の写真サイズ（横・縦）を入力して下さい。"_s;
const QString BlankMark = u"余白"_s;

QString Result::rowFailure() const {
    return QString::number(failedRow) + u" 行目: "_s + detail;
}

Result::Status refusal(const AlbumLayout& layout) {
    // Sizes below 1 mm round to 0: every picture would be drawn into nothing.
    if (layout.FrameWidth < 1 || layout.FrameHeight < 1) return Result::Status::NoFrame;
    if (layout.gap() < 0) return Result::Status::CannotPlace;
    return Result::Status::Built;
}

void f_overl(PageWriter& writer, const AlbumLayout& layout, const SlotPlace& place, const QString& info) {
    PrintDocument& doc = writer.doc;
    const double top = layout.OriginY + place.row * layout.RowPitch();
    const int y0 = roundHalfEven(top);
    doc.BrushStyle = PrintDocument::BrushTransparent;
    doc.PenWidth = 15;
    writer.rectangleMm(place.TextX, y0 + 4, place.TextX + BoxWidth, y0 + 4 + InfoLines * CellHeight);
    doc.PenWidth = 5;
    for (int b = 1; b < InfoLines; ++b) {
        const int y = roundHalfEven(top + CellHeight * b + 4);
        writer.lineMm(place.TextX, y, place.TextX + BoxWidth, y);
    }

    writer.TextAlign = PageWriter::Left;
    writer.TextBoxWidth = BoxWidth;
    doc.setTextColor(PrintDocument::SystemWindowText);
    const FieldBuffer lines = SplitLines(info);
    for (int n = 1; n <= InfoLines; ++n) {
        const QString line = lines(n);
        if (line.isEmpty()) continue;
        double size = layout.InfoFontSize;
        doc.FontSize = size;
        const double width = doc.TextWidth(line);
        if (width > TextFitWidth * PageWriter::TwipsPerMm)
            size = std::floor(layout.InfoFontSize * TextFitWidth * PageWriter::TwipsPerMm / width);
        writer.vspri(line, place.TextX - layout.OriginX + 1,
                     place.row * layout.RowPitch() - 2 + CellHeight * n, size);
    }
}

Result out1(PrintDocument& document, const AlbumLayout& layout, const AlbumSheet& sheet, int rowCount) {
    if (const Result::Status refused = refusal(layout); refused != Result::Status::Built)
        return {refused, 0, {}};
    PageWriter writer(document);
    writer.OriginX = layout.OriginX;
    writer.OriginY = layout.OriginY;
    document.FontName = layout.InfoFontName;
    int slotIndex = 0;
    for (int r = 1; r <= rowCount; ++r) {
        const QString path = sheet.text(r, AlbumColumn::Path);
        if (slotIndex > layout.PhotosPerPage - 1) {
            document.NewPage();
            slotIndex = 0;
        }
        const SlotPlace place = placeSlot(layout, slotIndex);
        if (!path.isEmpty()) {
            std::shared_ptr<const PictureSource> picture;
            try {
                picture = PictureSource::fromFile(path, r);
            } catch (const AppError& error) {
                return {Result::Status::RowFailed, r, error.message()};
            }
            const QRectF rect = pictureRectMm(layout, place, picture->size);
            constexpr double k = PageWriter::TwipsPerMm;
            document.DrawPicture(picture, rect.left() * k, rect.top() * k, rect.right() * k,
                                 rect.bottom() * k);
            f_overl(writer, layout, place, sheet.text(r, AlbumColumn::Info));
        } else if (layout.BlankMarkEmpty) {
            document.setTextColor(PrintDocument::SystemButtonFace);
            writer.TextAlign = PageWriter::Left;
            writer.vspri(BlankMark, place.PhotoX - layout.OriginX - 15 + layout.FrameWidth / 2.0,
                         place.row * layout.RowPitch() + layout.FrameHeight / 2.0 - 10, 30);
        }
        ++slotIndex;
    }
    return {};
}

} // namespace AlbumPages
