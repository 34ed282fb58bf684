#include "support/photo_files.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "viewer/thumbnail_notice.h"
#include "viewer/thumbnailer.h"
#include "viewer/ui/thumbnail_dialog.h"
#include "workspace/workspace.h"

#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ThumbnailDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // The desktop cache of whoever runs the tests stays untouched.
        cacheHome = new QTemporaryDir;
        qputenv("XDG_CACHE_HOME", cacheHome->path().toUtf8());
    }
    static void TearDownTestSuite() { delete cacheHome; }

    void SetUp() override {
        workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(1));
    }

    QString newPhoto(const QString& name, QSize size = {800, 600}) {
        const QString path = dir.filePath(name);
        writeJpeg(path, twoColourImage(size, Qt::red, Qt::blue));
        return path;
    }
    void putRow(int row, const QString& path) {
        workspace.SS1.setText(row, AlbumColumn::Info, u"情報\r\n"_s);
        workspace.SS1.setText(row, AlbumColumn::Path, path);
    }

    static inline QTemporaryDir* cacheHome = nullptr;
    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    Thumbnailer thumbnailer;
};

} // namespace

TEST_F(ThumbnailDialogTest, DrawsTheNewRowsAndLeavesTheAlbumUnmodified) {
    const QImage old(10, 10, QImage::Format_RGB32);
    putRow(1, newPhoto(u"before.jpg"_s));
    workspace.SS1.setPicture(1, old);
    putRow(2, newPhoto(u"a.jpg"_s));
    putRow(3, newPhoto(u"tall.jpg"_s, {300, 900}));
    putRow(4, u"C:\\photos\\P001.JPG"_s);
    writeBytes(dir.filePath(u"broken.jpg"_s), "not a picture");
    putRow(5, dir.filePath(u"broken.jpg"_s));
    workspace.SS1.setText(6, AlbumColumn::Info, u"写真なし\r\n"_s);
    workspace.SS1.setPicture(6, old);
    putRow(7, dir.filePath(u"a.jpg"_s));
    workspace.FirstNewRow = 2;
    workspace.LastNewRow = 7;

    showThumbnailsForNewRows(workspace, prompts, thumbnailer, nullptr);

    EXPECT_EQ(workspace.SS1.picture(1).cacheKey(), old.cacheKey()) << "rows outside the range are left alone";
    const QImage wide = workspace.SS1.picture(2);
    const QImage tall = workspace.SS1.picture(3);
    ASSERT_FALSE(wide.isNull());
    ASSERT_FALSE(tall.isNull());
    EXPECT_GT(wide.width(), wide.height());
    EXPECT_LT(tall.width(), tall.height()) << "the picture keeps its proportions";
    EXPECT_LE(wide.width(), 130);
    EXPECT_LE(tall.height(), 85);
    EXPECT_TRUE(workspace.SS1.picture(4).isNull());
    EXPECT_TRUE(workspace.SS1.picture(5).isNull());
    EXPECT_TRUE(workspace.SS1.picture(6).isNull()) << "a row without a photo loses its old picture";
    EXPECT_EQ(workspace.SS1.picture(7).cacheKey(), wide.cacheKey()) << "the same photo is made once";

    EXPECT_EQ(workspace.SheetModified, 0);
    EXPECT_EQ(workspace.undoStack.count(), 0);
    EXPECT_TRUE(prompts.messages.isEmpty()) << "missing and unreadable photos are not news";
}

TEST_F(ThumbnailDialogTest, APhotoOverThePictureLimitIsNamedOnceWithItsRows) {
    writeBytes(dir.filePath(u"huge.jpg"_s), jpegClaiming(30000, 30000));
    putRow(1, newPhoto(u"a.jpg"_s));
    putRow(2, dir.filePath(u"huge.jpg"_s));
    putRow(3, newPhoto(u"b.jpg"_s));
    putRow(4, dir.filePath(u"huge.jpg"_s));
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = 4;
    showThumbnailsForNewRows(workspace, prompts, thumbnailer, nullptr);
    EXPECT_TRUE(workspace.SS1.picture(2).isNull());
    EXPECT_FALSE(workspace.SS1.picture(3).isNull());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text,
              u"次の行の写真は画素数が多すぎるため読み込みません。サムネイルはありません。\n行 2、4"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Exclamation);
}

TEST_F(ThumbnailDialogTest, DoesNothingWhenThumbnailsAreOff) {
    putRow(1, newPhoto(u"off.jpg"_s));
    workspace.FirstNewRow = workspace.LastNewRow = 1;
    workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(0));
    showThumbnailsForNewRows(workspace, prompts, thumbnailer, nullptr);
    EXPECT_TRUE(workspace.SS1.picture(1).isNull());
}

TEST_F(ThumbnailDialogTest, CountsTheRowsAndCancellingKeepsWhatWasDrawn) {
    for (int row = 5; row <= 40; ++row)
        putRow(row, newPhoto(u"c%1.jpg"_s.arg(row), {1600, 1200}));
    workspace.FirstNewRow = 5;
    workspace.LastNewRow = 40;

    Thumbnailer thumbnailer{SharedThumbnailCache(dir.filePath(u"cache"_s))};
    DialogSamN dialog(workspace, thumbnailer, {110, 76});
    EXPECT_EQ(dialog.windowTitle(), u"サムネイル画像生成中"_s);
    QString caption;
    QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, &dialog, [&] {
        caption = dialog.findChild<QLabel*>(u"Label1"_s)->text();
        dialog.findChild<QPushButton*>(u"cmdCancel"_s)->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(caption, u"36個の画像の処理中です。"_s);

    int drawn = 0;
    for (int row = 5; row <= 40; ++row)
        drawn += workspace.SS1.picture(row).isNull() ? 0 : 1;
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(dialog.rowsDone(), 1);
    ASSERT_EQ(dialog.rowsStopped().size(), 35) << "every row but the one drawn";
    EXPECT_TRUE(workspace.SS1.picture(dialog.rowsStopped().first()).isNull());
    EXPECT_EQ(ThumbnailNotice::text(dialog.rowsStopped(), {}).count(u"サムネイルのない行：35 行"_s), 1);
}

namespace {

enum class Shown { Preview, Real, Other };

// The test photos are red and blue; their Exif previews green.
Shown shownIn(const QImage& picture) {
    if (picture.isNull()) return Shown::Other;
    const QColor left = picture.pixelColor(2, picture.height() / 2);
    if (isNear(left, Qt::green)) return Shown::Preview;
    return isNear(left, Qt::red) ? Shown::Real : Shown::Other;
}

} // namespace

class ThumbnailPreviewTest : public ThumbnailDialogTest {
protected:
    void putCameraRows(int first, int last) {
        const QByteArray exif =
            exifSegment(jpegBytes(twoColourImage({160, 120}, Qt::green, Qt::green)), 1, true);
        for (int row = first; row <= last; ++row) {
            const QString path = dir.filePath(u"cam%1.jpg"_s.arg(row));
            writeJpegWithSegment(path, twoColourImage({1600, 1200}, Qt::red, Qt::blue), exif);
            putRow(row, path);
        }
        workspace.FirstNewRow = first;
        workspace.LastNewRow = last;
    }
    // Every picture each row was given, in order.
    void watchPictures() {
        QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, &workspace.SS1,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             for (int row = from.row() + 1; row <= to.row() + 1; ++row)
                                 shown_[row] << shownIn(workspace.SS1.picture(row));
                         });
    }
    QHash<int, QList<Shown>> shown_;
    Thumbnailer cached{SharedThumbnailCache(dir.filePath(u"cache"_s))};
};

// The rows in sight show the camera's preview at once and then the real picture; the rows
// out of sight only ever get the real one, and the desktop cache only real ones.
TEST_F(ThumbnailPreviewTest, RowsInSightShowPreviewsUntilTheRealPicturesCome) {
    putCameraRows(3, 42);
    watchPictures();
    showThumbnailsForNewRows(workspace, prompts, cached, nullptr);

    int previewsShown = 0;
    for (int row = 3; row <= 42; ++row) {
        const QList<Shown>& given = shown_.value(row);
        ASSERT_FALSE(given.isEmpty()) << row;
        EXPECT_EQ(given.last(), Shown::Real) << "row " << row << " ends with its real picture";
        EXPECT_EQ(given.count(Shown::Real), 1) << row;
        if (given.first() == Shown::Preview) ++previewsShown;
        if (row > 32) {
            EXPECT_FALSE(given.contains(Shown::Preview)) << "row " << row << " is out of sight";
        }
    }
    EXPECT_GT(previewsShown, 0);
    QDirIterator entries(dir.filePath(u"cache"_s), QDir::Files, QDirIterator::Subdirectories);
    int stored = 0;
    while (entries.hasNext()) {
        const QImage entry(entries.next());
        EXPECT_NE(shownIn(entry), Shown::Preview) << qPrintable(entries.filePath());
        ++stored;
    }
    EXPECT_EQ(stored, 80) << "a normal and a large entry for every photo";
}

TEST_F(ThumbnailPreviewTest, AStopLeavesNoPreviewStandingForAThumbnail) {
    putCameraRows(1, 36);
    DialogSamN dialog(workspace, cached, {110, 76});
    QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, &dialog,
                     [&] { dialog.findChild<QPushButton*>(u"cmdCancel"_s)->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    for (int row = 1; row <= 36; ++row)
        EXPECT_NE(shownIn(workspace.SS1.picture(row)), Shown::Preview) << row;
    for (int row : dialog.rowsStopped())
        EXPECT_TRUE(workspace.SS1.picture(row).isNull()) << row;
}

TEST(ThumbnailNotice, SaysWhatAStopAndOversizedPhotosLeftInOneText) {
    EXPECT_EQ(ThumbnailNotice::text({}, {}), QString());
    EXPECT_EQ(ThumbnailNotice::text({7, 8, 9, 12}, {}),
              u"サムネイルの作成を中止しました。サムネイルのない行：4 行（7～9、12）"_s);
    EXPECT_EQ(ThumbnailNotice::text({9}, {3}),
              u"サムネイルの作成を中止しました。サムネイルのない行：1 行（9）\n\n"
              u"次の行の写真は画素数が多すぎるため読み込みません。サムネイルはありません。\n行 3"_s);
}
