#include "base/safe_file_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList HostileNames = {
    u""_s,
    u"."_s,
    u".."_s,
    u"../../etc/passwd"_s,
    u"..\\..\\Windows\\win.ini"_s,
    u"/abs/x.jpg"_s,
    u"C:\\x.jpg"_s,
    u"a\\b"_s,
    u"a/b"_s,
    u"CON"_s,
    u"con.txt"_s,
    u"com1.jpg"_s,
    u"LPT9"_s,
    u"NUL .jpg"_s,
    u"x. "_s,
    u"x..."_s,
    u"   "_s,
    u"tab\there\nnew\x01line"_s,
    u"a<b>c:d\"e|f?g*h.jpg"_s,
    QString(300, u'測') + u".jpg"_s,
    QString(300, u'a'),
    QString(200, QChar(0xD83D)) + u"x"_s, // unpaired surrogates
    QString(100, u'.') + u"/"_s + QString(100, u'.'),
};

} // namespace

TEST(SafeFileName, EveryHostileTextBecomesOnePlainNameInsideItsFolder) {
    QTemporaryDir root;
    const QDir folder(root.filePath(u"target"_s));
    ASSERT_TRUE(QDir().mkpath(folder.path()));
    for (const QString& text : HostileNames) {
        const QString name = SafeFileName::make(text);
        const std::string shown = text.left(40).toStdString();
        EXPECT_FALSE(name.isEmpty()) << shown;
        EXPECT_NE(name, u"."_s) << shown;
        EXPECT_NE(name, u".."_s) << shown;
        EXPECT_FALSE(name.endsWith(u'.') || name.endsWith(u' ')) << shown;
        for (QChar c : name)
            EXPECT_FALSE(c.unicode() < 0x20 || QStringView(u"<>:\"/\\|?*").contains(c)) << shown;
        EXPECT_LE(name.toUtf8().size(), SafeFileName::MaxBytes) << shown;
        EXPECT_TRUE(SafeFileName::isPlain(name)) << shown;
        EXPECT_FALSE(SafeFileName::isPlain(text)) << shown;

        // The real proof: the file is made, and made inside the folder.
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << shown << " " << file.errorString().toStdString();
        file.close();
        EXPECT_EQ(QFileInfo(file).absolutePath(), folder.absolutePath()) << shown;
    }
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"target"_s});
}

TEST(SafeFileName, PlainNamesStayAsTheyAreAndCutNamesKeepTheirExtension) {
    for (const QString& plain :
         {u"K12-003.jpg"_s, u"現場 写真.JPG"_s, u".hidden"_s, u"console.jpg"_s, u"COM10"_s})
        EXPECT_EQ(SafeFileName::make(plain), plain) << plain.toStdString();
    EXPECT_EQ(SafeFileName::make(u"CON.jpg"_s), u"_CON.jpg"_s);
    EXPECT_EQ(SafeFileName::make(u"x. "_s), u"x__"_s);
    EXPECT_EQ(SafeFileName::make(u"a\\b"_s), u"a_b"_s);
    EXPECT_EQ(SafeFileName::make(u""_s), u"_"_s);

    const QString cut = SafeFileName::make(QString(300, u'測') + u".jpg"_s);
    EXPECT_TRUE(cut.endsWith(u".jpg"_s));
    EXPECT_EQ(cut, QString(83, u'測') + u".jpg"_s); // 83 × 3 + 4 bytes
    // A character outside the basic plane is kept whole or dropped whole.
    const QString emoji = u"\U0001F4F7"_s;
    const QString cutPairs = SafeFileName::make(emoji.repeated(100));
    EXPECT_EQ(cutPairs, emoji.repeated(63));
}

// The copy report lists cut names apart from names whose characters were replaced.
TEST(SafeFileName, SaysWhetherItReplacedOrShortened) {
    const auto changes = [](const QString& text) {
        SafeFileName::Changes result;
        SafeFileName::make(text, &result);
        return std::pair{result.replaced, result.shortened};
    };
    EXPECT_EQ(changes(u"K12-003.jpg"_s), std::pair(false, false));
    EXPECT_EQ(changes(QString(300, u'測') + u".jpg"_s), std::pair(false, true));
    EXPECT_EQ(changes(u"a:b"_s + QString(300, u'測') + u".jpg"_s), std::pair(true, true));
    EXPECT_EQ(changes(QString(300, u'測') + u"a:b.jpg"_s), std::pair(false, true))
        << "the replaced part was cut";
    EXPECT_EQ(changes(u"CON.jpg"_s), std::pair(true, false));
    EXPECT_EQ(changes(u"x. "_s), std::pair(true, false));
}
