#include "print/album_pages.h"
#include "print/preview_document.h"
#include "print/print_document.h"
#include "print_test_support.h"
#include "workspace/workspace.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Status = AlbumPages::Result::Status;

class AlbumPagesTest : public testing::Test {
protected:
    void SetUp() override {
        workspace.settings = Settings::defaults();
        set(SettingItem::PaperLayout, 1);
        set(SettingItem::PhotoWidthMm, 100);
        set(SettingItem::PhotoHeightMm, 80);
        set(SettingItem::MarginTopMm, 10);
        set(SettingItem::MarginBottomMm, 10);
        set(SettingItem::MarginLeftMm, 20);
        set(SettingItem::MarginRightMm, 15);
        set(SettingItem::BlankMarkEmpty, 0);
        workspace.settings.setItem(SettingItem::InfoFont, SettingValue::string(u"IPAPGothic:10.5"_s));
        landscape = writeTestPhoto(dir.path(), u"land.jpg"_s, 400, 300);
    }
    void set(int item, double value) { workspace.settings.setItem(item, SettingValue::number(value)); }
    void addRows(int count, const QString& path, const QString& info = u"No.1\r\n"_s) {
        QList<AlbumRow> rows = workspace.SS1.rows();
        for (int i = 0; i < count; ++i)
            rows.append(AlbumRow{{}, info, {}, path});
        workspace.SS1.setRows(rows);
        workspace.UpdateRowTotal();
    }
    PreviewDocument::Built build() {
        return PreviewDocument::build(document, workspace, PreviewDocument::Album);
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    PrintDocument document;
    QString landscape;
};

TEST_F(AlbumPagesTest, A4FramesAreSpacedByTheGapAndFittedToTheFrameWidth) {
    addRows(3, landscape);
    const auto built = build();
    ASSERT_EQ(built.album.status, Status::Built);
    EXPECT_EQ(built.job.PaperName, u"A4"_s);
    EXPECT_EQ(built.job.OrientationName, u"縦方向"_s);
    EXPECT_EQ(document.PageCount(), 1);
    EXPECT_EQ(document.zoom(), 70);
    const auto pictures = opsOf<PictureOp>(document, 1);
    ASSERT_EQ(pictures.size(), 3);
    const double tops[] = {10, 103.5, 197};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(mm(pictures[i].y1), tops[i], 1e-9);
        EXPECT_NEAR(mm(pictures[i].x1), 20, 1e-9);
        EXPECT_NEAR(mm(pictures[i].x2), 120, 1e-9);
        EXPECT_NEAR(mm(pictures[i].y2) - mm(pictures[i].y1), 75, 1e-9); // 100 mm wide at 4:3
    }
}

TEST_F(AlbumPagesTest, InformationBoxHasEightCellsAndTextStartsInsideIt) {
    addRows(2, landscape, u"一行目\r\n\r\n三行目\r\n"_s);
    build();
    const auto boxes = opsOf<RectangleOp>(document, 1);
    ASSERT_EQ(boxes.size(), 2);
    // Text box at 200 - R - 32 = 153; the second frame's top 103.5 rounds to 104 (half to even).
    EXPECT_NEAR(mm(boxes[1].x1), 153, 1e-9);
    EXPECT_NEAR(mm(boxes[1].x2), 185, 1e-9);
    EXPECT_NEAR(mm(boxes[1].y1), 108, 1e-9);
    EXPECT_NEAR(mm(boxes[1].y2), 169.6, 1e-9);
    EXPECT_EQ(boxes[1].penWidth, 15);
    const auto lines = opsOf<LineOp>(document, 1);
    ASSERT_EQ(lines.size(), 14);
    EXPECT_NEAR(mm(lines[0].y1), 22, 1e-9); // round(10 + 7.7 + 4)
    EXPECT_NEAR(mm(lines[6].y1), 68, 1e-9); // round(10 + 53.9 + 4)
    EXPECT_EQ(lines[0].penWidth, 5);

    const auto texts = opsOf<TextOp>(document, 1);
    ASSERT_EQ(texts.size(), 4); // empty lines are skipped
    EXPECT_EQ(texts[1].text, u"三行目"_s);
    EXPECT_NEAR(mm(texts[0].x), 154, 1e-9);
    EXPECT_NEAR(mm(texts[0].y), 15.7, 1e-9); // cell 1 top 14 + 1.7
    EXPECT_NEAR(mm(texts[1].y), 31.1, 1e-9); // cell 3
    EXPECT_NEAR(mm(texts[3].y), 103.5 + 5.7 + 15.4, 1e-9);
    EXPECT_EQ(texts[0].fontSize, 10.5);
    EXPECT_EQ(texts[0].fontName, u"IPAPGothic"_s);
}

TEST_F(AlbumPagesTest, LongInformationLineShrinksToAWholePointSize) {
    const QString longLine = QString(40, u'測');
    addRows(1, landscape, u"短い\r\n"_s + longLine + u"\r\n"_s);
    build();
    const auto texts = opsOf<TextOp>(document, 1);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].fontSize, 10.5);
    EXPECT_LT(texts[1].fontSize, 10.5);
    EXPECT_EQ(texts[1].fontSize, std::floor(texts[1].fontSize));
    document.FontSize = texts[1].fontSize;
    document.FontName = texts[1].fontName;
    EXPECT_LE(mm(document.TextWidth(longLine)), 31.0);
}

TEST_F(AlbumPagesTest, SevenRowsOnA3FillBothHalvesThenANewPage) {
    set(SettingItem::PaperLayout, 0);
    addRows(7, landscape);
    const auto built = build();
    EXPECT_EQ(built.job.PaperName, u"A3"_s);
    EXPECT_EQ(built.job.OrientationName, u"横方向"_s);
    ASSERT_EQ(document.PageCount(), 2);
    EXPECT_EQ(built.job.PrintToPage, 2);
    const auto first = opsOf<PictureOp>(document, 1);
    ASSERT_EQ(first.size(), 6);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(mm(first[i].x1), 20, 1e-9);
    for (int i = 3; i < 6; ++i)
        EXPECT_NEAR(mm(first[i].x1), 225, 1e-9); // 210 + R
    EXPECT_NEAR(mm(first[3].y1), 10, 1e-9);
    EXPECT_NEAR(mm(opsOf<RectangleOp>(document, 1)[3].x1), 358, 1e-9); // 410 - L - 32
    const auto second = opsOf<PictureOp>(document, 2);
    ASSERT_EQ(second.size(), 1);
    EXPECT_NEAR(mm(second[0].x1), 20, 1e-9);
    EXPECT_NEAR(mm(second[0].y1), 10, 1e-9);
}

TEST_F(AlbumPagesTest, MirroredA3PutsTheRightHalfsPhotoAtTheOuterEdge) {
    set(SettingItem::PaperLayout, 0);
    set(SettingItem::MirrorA3, 1);
    addRows(4, landscape);
    build();
    const auto pictures = opsOf<PictureOp>(document, 1);
    EXPECT_NEAR(mm(pictures[3].x1), 290, 1e-9); // 410 - 20 - 100
    EXPECT_NEAR(mm(pictures[3].x2), 390, 1e-9);
    EXPECT_NEAR(mm(opsOf<RectangleOp>(document, 1)[3].x1), 225, 1e-9); // 210 + R
}

TEST_F(AlbumPagesTest, GapBelowZeroRefusesToPlaceAndZeroIsAccepted) {
    addRows(3, landscape);
    set(SettingItem::PhotoHeightMm, 89);
    set(SettingItem::MarginBottomMm, 11); // 10 + 11 + 267 = 288
    EXPECT_EQ(build().album.status, Status::CannotPlace);
    EXPECT_EQ(document.PageCount(), 0);

    set(SettingItem::MarginBottomMm, 10); // exactly 287: frames touch
    PrintDocument touching;
    ASSERT_EQ(PreviewDocument::build(touching, workspace, PreviewDocument::Album).album.status,
              Status::Built);
    const auto pictures = opsOf<PictureOp>(touching, 1);
    EXPECT_NEAR(mm(pictures[1].y1), 99, 1e-9);
    EXPECT_NEAR(mm(pictures[2].y1), 188, 1e-9);
}

TEST_F(AlbumPagesTest, RowWithoutPhotoGetsOnlyTheBlankMarkWhenAsked) {
    addRows(1, {});
    addRows(1, landscape);
    set(SettingItem::BlankMarkEmpty, 1);
    build();
    auto texts = opsOf<TextOp>(document, 1);
    ASSERT_GE(texts.size(), 1);
    EXPECT_EQ(texts[0].text, AlbumPages::BlankMark);
    EXPECT_EQ(texts[0].fontSize, 30);
    EXPECT_EQ(texts[0].color, PrintDocument::colorOf(PrintDocument::SystemButtonFace));
    EXPECT_NEAR(mm(texts[0].x), 20 - 15 + 50, 1e-9);
    EXPECT_NEAR(mm(texts[0].y), 10 + 40 - 10, 1e-9);
    EXPECT_EQ(opsOf<RectangleOp>(document, 1).size(), 1);              // only the photo's box
    EXPECT_NEAR(mm(opsOf<PictureOp>(document, 1)[0].y1), 103.5, 1e-9); // still the second slot

    set(SettingItem::BlankMarkEmpty, 0);
    PrintDocument plain;
    PreviewDocument::build(plain, workspace, PreviewDocument::Album);
    EXPECT_EQ(opsOf<TextOp>(plain, 1).size(), 1); // "No.1" of the photo row only
}

TEST_F(AlbumPagesTest, PicturesStayInsideTheirFrame) {
    const QString portrait = writeTestPhoto(dir.path(), u"portrait.jpg"_s, 300, 400);
    const QString square = writeTestPhoto(dir.path(), u"square.jpg"_s, 300, 300);
    addRows(1, portrait);
    addRows(1, square);
    build();
    const auto pictures = opsOf<PictureOp>(document, 1);
    // Portrait: 80 mm high, 60 wide, centred across the 100 mm frame.
    EXPECT_NEAR(mm(pictures[0].x1), 40, 1e-9);
    EXPECT_NEAR(mm(pictures[0].x2), 100, 1e-9);
    EXPECT_NEAR(mm(pictures[0].y2) - mm(pictures[0].y1), 80, 1e-9);
    // Square in a wider frame: as high as the frame rather than 100 mm over the next photo.
    EXPECT_NEAR(mm(pictures[1].y2) - mm(pictures[1].y1), 80, 1e-9);
    EXPECT_NEAR(mm(pictures[1].x1), 30, 1e-9);

    // A square frame takes a square picture at its full width.
    set(SettingItem::PhotoHeightMm, 80);
    set(SettingItem::PhotoWidthMm, 80);
    PrintDocument squareFrame;
    PreviewDocument::build(squareFrame, workspace, PreviewDocument::Album);
    const auto fitted = opsOf<PictureOp>(squareFrame, 1)[1];
    EXPECT_NEAR(mm(fitted.x2) - mm(fitted.x1), 80, 1e-9);
    EXPECT_NEAR(mm(fitted.x1), 20, 1e-9);
}

TEST_F(AlbumPagesTest, FailingRowStopsBuildingAndKeepsEarlierPages) {
    addRows(4, landscape);
    addRows(1, dir.path() + u"/missing.jpg"_s);
    addRows(1, landscape);
    const auto built = build();
    EXPECT_EQ(built.album.status, Status::RowFailed);
    EXPECT_EQ(built.album.failedRow, 5);
    EXPECT_TRUE(built.album.detail.contains(u"missing.jpg"_s));
    ASSERT_EQ(document.PageCount(), 2);
    EXPECT_EQ(opsOf<PictureOp>(document, 2).size(), 1);
}

TEST(InfoFontTest, NameAndSizeOrTheFallBack) {
    const InfoFont set = InfoFont::parse(u"IPAMincho:9"_s);
    EXPECT_EQ(set.name, u"IPAMincho"_s);
    EXPECT_EQ(set.size, 9);
    const InfoFont fallBack = InfoFont::parse(u"IPAMincho"_s);
    EXPECT_EQ(fallBack.name, u"ＭＳ Ｐゴシック"_s);
    EXPECT_EQ(fallBack.size, 10.5);
}
