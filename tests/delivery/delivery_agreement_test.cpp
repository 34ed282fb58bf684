#include "base/app_error.h"
#include "delivery/delivery_export.h"
#include "delivery/folder_check.h"
#include "delivery_fixture.h"
#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace {

// Lines 1..21 that both standards accept: title, main class, date and the flags.
QStringList goodInfo() {
    QStringList lines(21);
    lines[9] = u"全景"_s;
    lines[11] = u"測量"_s;
    lines[12] = u"2024-06-01"_s;
    lines[19] = u"0"_s;
    lines[20] = u"0"_s;
    return lines;
}

// "code@serial" of the findings of one severity, in order.
QStringList codes(const QList<Finding>& findings, Finding::Severity severity) {
    QStringList result;
    for (const Finding& f : findings)
        if (f.severity == severity) result << f.code + u'@' + QString::number(f.serial);
    return result;
}

} // namespace

class ExportCheckAgreement : public DeliveryFolder {
protected:
    DeliveryRequest request(Version version, QList<AlbumRow> rows) {
        DeliveryRequest result;
        result.sheetRows = std::move(rows);
        result.folder = out.path();
        result.version = version;
        result.dtdPath = version == Version::V05 ? shippedDtd05() : shippedDtd();
        return result;
    }
    QList<Finding> refusal05(QList<AlbumRow> rows) {
        try {
            DeliveryExport::run(request(Version::V05, std::move(rows)));
        } catch (const DeliveryRefused& refused) {
            return refused.findings();
        }
        return {};
    }
};

// Every error the checker finds in a folder the 03 export wrote is refused by the 05 export,
// naming the row, and was a warning of the 03 export before it wrote.
TEST_F(ExportCheckAgreement, WhatTheCheckerCallsAnErrorThe05ExportRefusesAndThe03ExportWarns) {
    struct Damage {
        const char* name;
        std::function<AlbumRow()> row;
        bool strictReadersRead = true;
    };
    const auto titled = [&](const QString& title) {
        QStringList info = goodInfo();
        info[9] = title;
        return photoRow(jpeg(u"t.jpg"_s), info);
    };
    const auto line = [&](int n, const QString& text) {
        QStringList info = goodInfo();
        info[n - 1] = text;
        return photoRow(jpeg(u"l.jpg"_s), info);
    };
    const auto file = [&](const QByteArray& bytes) {
        writeBytes(source.filePath(u"f.jpg"_s), bytes);
        return photoRow(source.filePath(u"f.jpg"_s), goodInfo());
    };
    const QByteArray whole = encodedJpeg({1600, 1200});
    const QList<Damage> damages = {
        {"outside JIS X 0208", [&] { return titled(u"①№髙"_s); }, false},
        {"full-width letters", [&] { return titled(u"１２３ ＡＢＣ"_s); }},
        {"half-width kana", [&] { return titled(u"ﾎﾟﾝﾌﾟ"_s); }},
        {"too long", [&] { return titled(QString(128, u'あ')); }},
        {"main class", [&] { return line(12, u"工事写真"_s); }},
        {"no real day", [&] { return line(13, u"2024-02-30"_s); }},
        {"PNG under .jpg",
         [&] {
             return file(pictureBytes({1600, 1200}, "PNG"));
         }},
        {"BMP under .jpg",
         [&] {
             return file(pictureBytes({1600, 1200}, "BMP"));
         }},
        {"cut short", [&] { return file(whole.first(whole.size() / 2)); }},
    };
    for (const Damage& damage : damages) {
        const QList<AlbumRow> rows = {photoRow(jpeg(u"good.jpg"_s), goodInfo()), damage.row()};

        const QList<Finding> refused = refusal05(rows);
        QList<Finding> warned;
        DeliveryExport::run(request(Version::V03, rows), {}, {}, [&](const QList<Finding>& findings) {
            warned = findings;
            return true;
        });
        const QStringList checked = codes(FolderCheck::check(out.path()).findings, Finding::Severity::Error);

        EXPECT_FALSE(checked.isEmpty()) << damage.name;
        EXPECT_EQ(codes(refused, Finding::Severity::Error), checked) << damage.name;
        EXPECT_EQ(codes(warned, Finding::Severity::Warning), checked) << damage.name;
        for (const Finding& finding : refused)
            EXPECT_TRUE(finding.place.startsWith(u"写真帳 2 行目 ("_s)) << damage.name;
        // What the 03 export wrote is a valid index, which a strict reader may still not read.
        const auto complaint = xmllintErrors(photoFolder() + u"/PHOTO.XML"_s, shippedDtd());
        if (complaint) {
            EXPECT_EQ(complaint->isEmpty(), damage.strictReadersRead)
                << damage.name << complaint->toStdString();
        }
    }
}

// A character XML cannot hold would make the whole index unreadable.
TEST_F(ExportCheckAgreement, CharactersXmlCannotHoldAreRefusedByBothNamingRowAndLine) {
    QStringList info = goodInfo();
    info[9] = u"A\u0001B"_s;
    const QList<AlbumRow> rows = {photoRow(jpeg(u"a.jpg"_s), goodInfo()), photoRow(jpeg(u"b.jpg"_s), info)};
    try {
        DeliveryExport::run(request(Version::V03, rows));
        ADD_FAILURE() << "version 03 wrote the index";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().startsWith(u"XML に書けない文字があります（1 件）\n"_s)) << error.what();
        EXPECT_TRUE(error.message().contains(u"写真帳 2 行目 写真タイトル（10 行目）: U+0001"_s))
            << error.what();
    }
    const QList<Finding> refused = refusal05(rows);
    ASSERT_EQ(refused.size(), 1);
    EXPECT_EQ(refused.first().code, u"charset"_s);
    EXPECT_EQ(refused.first().line, 10);
    EXPECT_EQ(Findings::item(refused.first()), u"写真タイトル（情報 10 行目）"_s);
    EXPECT_TRUE(refused.first().place.startsWith(u"写真帳 2 行目 ("_s));
    EXPECT_TRUE(refused.first().message.contains(u"U+0001"_s));
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));
}
