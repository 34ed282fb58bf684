#include "album/blackboard_lines.h"
#include "album/photo_info.h"
#include "base/ansi_codec.h"
#include "delivery/delivery_export.h"
#include "delivery_fixture.h"
#include "support/blackboard_photos.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

class BlackboardDeliveryTest : public DeliveryFolder {
protected:
    DeliveryResult run(QList<AlbumRow> rows) {
        DeliveryRequest request;
        request.sheetRows = std::move(rows);
        request.folder = out.path();
        request.dtdPath = shippedDtd05();
        request.version = PhotoStandard::Version::V05;
        return DeliveryExport::run(request);
    }
    // A row as placement leaves it: lines filled from the photo's blackboard.
    AlbumRow placed(const QString& name) {
        AlbumRow row;
        row.path = writeBlackboardJpeg(source.filePath(name),
                                       {exifDateBody(u"2024:06:01 09:30:00"_s),
                                        xmpBody(blackboardPacket(BlackboardLayout::Attributes))});
        BlackboardLines::fillInfo(row.info, BlackboardXmp::read(row.path));
        return row;
    }
};

TEST_F(BlackboardDeliveryTest, TheIndexCarriesTheBlackboardAndNotesLinesTheUserChanged) {
    AlbumRow changed = placed(u"b.jpg"_s);
    QStringList lines = PhotoInfo::allLinesOf(changed.info);
    lines[14] = u"舗装工"_s; // 工種 corrected by hand
    changed.info = PhotoInfo::cellText(lines);
    const DeliveryResult result = run({placed(u"a.jpg"_s), changed});

    const QString xml = AnsiCodec::decode(readBytes(photoFolder() + u"/PHOTO.XML"_s)).text;
    EXPECT_EQ(xml.count(u"<工種区分予備>予備A</工種区分予備>\r\n<工種区分予備>予備B</工種区分予備>"_s), 2);
    EXPECT_TRUE(xml.contains(u"<施工管理値>幅 設計 3.00m 実測 3.02m、深さ 実測 1.20m</施工管理値>"_s));
    EXPECT_TRUE(xml.contains(u"<撮影年月日>2024-06-01</撮影年月日>"_s));
    EXPECT_EQ(xml.count(u"<代表写真>1</代表写真>"_s), 2);
    expectValidPhotoXml05(photoFolder() + u"/PHOTO.XML"_s);

    QStringList blackboardNotes;
    for (const Finding& note : result.notes)
        if (note.code == u"blackboard"_s)
            blackboardNotes << QString::number(note.serial) + u' ' + note.element + u' ' +
                                   QString::number(note.line);
    EXPECT_EQ(blackboardNotes, QStringList{u"2 工種 15"_s});
}

TEST_F(BlackboardDeliveryTest, PhotoBytesAreCopiedUntouched) {
    const AlbumRow row = placed(u"a.jpg"_s);
    run({row});
    EXPECT_EQ(readBytes(photoFolder() + u"/PIC/P0000001.JPG"_s), readBytes(row.path));
}

} // namespace
