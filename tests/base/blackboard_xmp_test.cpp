#include "base/ansi_codec.h"
#include "base/blackboard_xmp.h"
#include "support/blackboard_photos.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void expectSampleBlackboard(const BlackboardReading& reading) {
    ASSERT_TRUE(reading.found) << reading.note.toStdString();
    EXPECT_TRUE(reading.note.isEmpty()) << reading.note.toStdString();
    const Blackboard& b = reading.blackboard;
    EXPECT_EQ(b.constructionName, u"市道改良工事"_s);
    EXPECT_EQ(b.contructor, u"測量建設株式会社"_s);
    EXPECT_EQ(b.title, u"床掘完了"_s);
    EXPECT_EQ(b.smallClassification, u"床掘"_s);
    EXPECT_EQ(b.shootingSpot, u"No.12+5.0"_s);
    EXPECT_EQ(b.isRepresentative, u"True"_s);
    EXPECT_EQ(b.isFrequencyOfSubmission, u"False"_s);
    EXPECT_EQ(b.classificationRemarks, (QStringList{u"予備A"_s, u"予備B"_s}));
    EXPECT_EQ(b.measurementClassification, u"0"_s);
    ASSERT_EQ(b.measurementItems.size(), 2);
    EXPECT_EQ(b.measurementItems.at(0).name, u"幅"_s);
    EXPECT_EQ(b.measurementItems.at(0).designedValue, u"3.00"_s);
    EXPECT_EQ(b.measurementItems.at(0).measuredValue, u"3.02"_s);
    EXPECT_EQ(b.measurementItems.at(1).name, u"深さ"_s);
    EXPECT_TRUE(b.measurementItems.at(1).designedValue.isEmpty());
    EXPECT_EQ(b.measurementItems.at(1).unitName, u"m"_s);
}

class BlackboardLayouts : public testing::TestWithParam<BlackboardLayout> {};

TEST_P(BlackboardLayouts, EveryWriterLayoutGivesTheSameItems) {
    expectSampleBlackboard(BlackboardXmp::fromPackets(blackboardPacket(GetParam()), {}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, BlackboardLayouts,
                         testing::Values(BlackboardLayout::Elements, BlackboardLayout::Attributes,
                                         BlackboardLayout::ParseTypeResource,
                                         BlackboardLayout::ResourceDescription));

TEST(BlackboardXmp, ReadsTheHeadersOfAPhotoWithItsExifDate) {
    QTemporaryDir dir;
    const QString path = writeBlackboardJpeg(
        dir.filePath(u"p.jpg"_s),
        {exifDateBody(u"2024:06:01 09:30:00"_s), xmpBody(blackboardPacket(BlackboardLayout::Elements))});
    const BlackboardReading reading = BlackboardXmp::read(path);
    expectSampleBlackboard(reading);
    EXPECT_EQ(reading.taken, QDate(2024, 6, 1));

    // A photo without XMP, one whose XMP is another program's, and no photo at all.
    const QString plain =
        writeBlackboardJpeg(dir.filePath(u"plain.jpg"_s), {exifDateBody(u"2024:06:01 09:30:00"_s)});
    const QString other = writeBlackboardJpeg(
        dir.filePath(u"other.jpg"_s),
        {xmpBody(
            packetOf({}, u" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" dc:format=\"image/jpeg\""_s))});
    for (const QString& p : {plain, other, dir.filePath(u"missing.jpg"_s)}) {
        const BlackboardReading none = BlackboardXmp::read(p);
        EXPECT_FALSE(none.found) << p.toStdString();
        EXPECT_TRUE(none.note.isEmpty()) << none.note.toStdString();
    }
}

TEST(BlackboardXmp, ASplitPacketIsJoinedByOffsetAndGuid) {
    const QByteArray guid = "0123456789ABCDEF0123456789ABCDEF";
    const QByteArray standard =
        packetOf(u"<photo:Title>床掘完了</photo:Title>"_s,
                 u" xmlns:xmpNote=\"http://ns.adobe.com/xmp/note/\" xmpNote:HasExtendedXMP=\""_s +
                     QString::fromLatin1(guid) + u'"');
    const QByteArray extended = packetOf(u"<photo:ShootingSpot>No.3</photo:ShootingSpot>"
                                         u"<photo:ClassificationRemarks><rdf:Bag><rdf:li>予備</rdf:li>"
                                         u"</rdf:Bag></photo:ClassificationRemarks>"_s);
    // Chunks of another packet (another GUID) are left out.
    QList<QByteArray> chunks = extendedXmpBodies(guid, extended, 3);
    chunks << extendedXmpBodies("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF",
                                packetOf(u"<photo:Title>x</photo:Title>"_s), 1);
    QTemporaryDir dir;
    const QString path =
        writeBlackboardJpeg(dir.filePath(u"split.jpg"_s), QList<QByteArray>{xmpBody(standard)} + chunks);
    const BlackboardReading reading = BlackboardXmp::read(path);
    ASSERT_TRUE(reading.found);
    EXPECT_TRUE(reading.note.isEmpty()) << reading.note.toStdString();
    EXPECT_EQ(reading.blackboard.title, u"床掘完了"_s);
    EXPECT_EQ(reading.blackboard.shootingSpot, u"No.3"_s);
    EXPECT_EQ(reading.blackboard.classificationRemarks, QStringList{u"予備"_s});

    // A missing chunk: the standard part is kept, with a note.
    chunks.removeAt(1);
    QList<QByteArray> partial;
    for (const QByteArray& chunk : chunks)
        partial << chunk.mid(35);
    const BlackboardReading cut = BlackboardXmp::fromPackets(standard, partial);
    EXPECT_TRUE(cut.found);
    EXPECT_EQ(cut.blackboard.title, u"床掘完了"_s);
    EXPECT_TRUE(cut.blackboard.shootingSpot.isEmpty());
    EXPECT_TRUE(cut.note.startsWith(BlackboardXmp::BrokenPacket));
}

TEST(BlackboardXmp, BrokenOrHostilePacketsArePassedOverWithANote) {
    const QList<QByteArray> packets{
        packetOf(u"<photo:Title>床掘</photo:Titel>"_s),
        blackboardPacket(BlackboardLayout::Elements).left(300),
        QByteArray("\xFF\xFE\x00<"),
        // Entities are never expanded, and a DTD is refused outright.
        "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" +
            packetOf(u"<photo:Title>&e;</photo:Title>"_s),
    };
    for (const QByteArray& packet : packets) {
        const BlackboardReading reading = BlackboardXmp::fromPackets(packet, {});
        EXPECT_FALSE(reading.found) << packet.left(60).toStdString();
        EXPECT_TRUE(reading.note.startsWith(BlackboardXmp::BrokenPacket)) << reading.note.toStdString();
    }
    // Nesting deeper than any blackboard is cut off, not followed into a stack overflow.
    QString deep;
    for (int i = 0; i < 5000; ++i)
        deep += u"<photo:Measurements rdf:parseType=\"Resource\">"_s;
    for (int i = 0; i < 5000; ++i)
        deep += u"</photo:Measurements>"_s;
    EXPECT_TRUE(BlackboardXmp::fromPackets(packetOf(deep), {}).found);
}

TEST(BlackboardXmp, ShiftJisPacketsAreReadAsShiftJisAndUtf8StaysUtf8) {
    const QString content =
        u"<photo:Title>床掘完了</photo:Title><photo:ConstructionType>道路土工</photo:ConstructionType>"_s;
    const QByteArray sjis = AnsiCodec::encode(QString::fromUtf8(packetOf(content))).bytes;
    ASSERT_NE(sjis, packetOf(content));
    const BlackboardReading fromSjis = BlackboardXmp::fromPackets(sjis, {});
    ASSERT_TRUE(fromSjis.found) << fromSjis.note.toStdString();
    EXPECT_EQ(fromSjis.blackboard.title, u"床掘完了"_s);
    EXPECT_EQ(fromSjis.blackboard.constructionType, u"道路土工"_s);
    // Short UTF-8 Japanese is often also valid Shift_JIS; UTF-8 is what XMP holds.
    const BlackboardReading fromUtf8 =
        BlackboardXmp::fromPackets(packetOf(u"<photo:Title>近景</photo:Title>"_s), {});
    EXPECT_EQ(fromUtf8.blackboard.title, u"近景"_s);
}

TEST(BlackboardXmp, ItemsListTheNonEmptyValuesInSchemaOrder) {
    const QList<BlackboardItem> items = BlackboardXmp::items(
        BlackboardXmp::fromPackets(blackboardPacket(BlackboardLayout::Elements), {}).blackboard);
    QStringList names;
    for (const BlackboardItem& item : items)
        names << item.name;
    EXPECT_EQ(names.first(), u"ConstructionName"_s);
    EXPECT_TRUE(names.contains(u"ClassificationRemarks[2]"_s));
    EXPECT_TRUE(names.contains(u"MeasurementItems[2]/MeasuredValue"_s));
    EXPECT_FALSE(names.contains(u"MeasurementItems[2]/DesignedValue"_s));
    EXPECT_EQ(names.last(), u"ContractorRemarks"_s);
}

} // namespace
