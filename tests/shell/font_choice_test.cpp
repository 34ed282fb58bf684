#include "base/font_choice.h"
#include "base/half_width.h"
#include "shell/ui/font_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(HalfWidthAscii, FoldsWhatTheInputMethodTypesAndKeepsTheRest) {
    EXPECT_EQ(halfWidthAscii(u"１０６"_s), u"106"_s);
    EXPECT_EQ(halfWidthAscii(u"　－１２．５ｍｍ"_s), u" -12.5mm"_s);
    EXPECT_EQ(halfWidthAscii(u"２０１９／５／１　１０：００"_s), u"2019/5/1 10:00"_s);
    EXPECT_EQ(halfWidthAscii(u"Ｒ１．５．１"_s), u"R1.5.1"_s);
    EXPECT_EQ(halfWidthAscii(u"\u22123"_s), u"-3"_s); // the minus sign some input methods give
    EXPECT_EQ(halfWidthAscii(u"令和元年ｶﾅ①"_s), u"令和元年ｶﾅ①"_s);
}

TEST(FontChoice, SizesKeepTheirFractionsAndAreWrittenShortest) {
    EXPECT_EQ(FontChoice::parse(u"IPAPGothic:10.5"_s), (FontChoice::Font{u"IPAPGothic"_s, 10.5}));
    EXPECT_EQ(FontChoice::parse(u"ＭＳ 明朝:１１"_s), (FontChoice::Font{u"ＭＳ 明朝"_s, 11}));
    EXPECT_EQ(FontChoice::parse(u"IPAPGothic:9pt"_s)->size, 9);
    EXPECT_EQ(FontChoice::parse(u"IPAPGothic:"_s)->size, 0);
    EXPECT_FALSE(FontChoice::parse(u"IPAPGothic"_s));

    EXPECT_EQ(FontChoice::format({u"IPAPGothic"_s, 10.5}), u"IPAPGothic:10.5"_s);
    EXPECT_EQ(FontChoice::format({u"IPAPGothic"_s, 9}), u"IPAPGothic:9"_s);
    EXPECT_EQ(FontChoice::format({u"IPAPGothic"_s, 10.50000001}), u"IPAPGothic:10.5"_s);
}

TEST(FontChoice, OnlyOfferedSizesAreTakenAndNothingIsMultiplied) {
    const QList<double> usual = FontChoice::offeredSizes();
    EXPECT_TRUE(usual.contains(10.5));
    EXPECT_EQ(FontChoice::offeredSize(u"10.5"_s, usual), 10.5);
    EXPECT_EQ(FontChoice::offeredSize(u" １０．５ "_s, usual), 10.5);
    EXPECT_EQ(FontChoice::offeredSize(u"72"_s, usual), 72);
    for (const QString& refused : {u"105"_s, u"10,5"_s, u"10.4"_s, u"0"_s, u"-9"_s, u"abc"_s, QString()})
        EXPECT_FALSE(FontChoice::offeredSize(refused, usual)) << refused.toStdString();

    // The size the dialog opens with is offered when it is a likely one, in order.
    const QList<double> withOpening = FontChoice::offeredSizes(9.5);
    EXPECT_EQ(withOpening.indexOf(9.5), withOpening.indexOf(9) + 1);
    EXPECT_EQ(FontChoice::offeredSizes(105), usual);
    EXPECT_EQ(FontChoice::offeredSizes(10.5), usual);
}

class FontDialogTest : public testing::Test {
protected:
    template <typename W> W* child(const QString& name) {
        auto* found = dialog->findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    std::unique_ptr<FontDialog> dialog;
};

TEST_F(FontDialogTest, OpensAtTheFractionalSizeAndGivesItBack) {
    dialog = std::make_unique<FontDialog>(u"IPAPGothic:10.5"_s);
    EXPECT_EQ(child<QLineEdit>(u"FontSize"_s)->text(), u"10.5"_s);
    EXPECT_EQ(child<QListWidget>(u"SizeList"_s)->currentItem()->text(), u"10.5"_s);
    EXPECT_EQ(dialog->chosenFont(), u"IPAPGothic:10.5"_s);

    // A font of another computer is kept as it is named.
    dialog = std::make_unique<FontDialog>(u"ＮｏＳｕｃｈ Font:9"_s);
    EXPECT_EQ(dialog->chosenFont(), u"ＮｏＳｕｃｈ Font:9"_s);
}

TEST_F(FontDialogTest, ATypedSizeOutsideTheListIsRefusedUntilCorrected) {
    dialog = std::make_unique<FontDialog>(u"IPAPGothic:105"_s); // as an earlier fault stored it
    auto* ok = child<QPushButton>(u"OK"_s);
    auto* note = child<QLabel>(u"SizeNote"_s);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), FontChoice::SizeNotOffered);

    auto* size = child<QLineEdit>(u"FontSize"_s);
    size->setText(u"１２"_s);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(dialog->chosenFont(), u"IPAPGothic:12"_s);

    child<QListWidget>(u"SizeList"_s)->setCurrentRow(0);
    EXPECT_EQ(size->text(), u"8"_s);
    child<QLineEdit>(u"FontName"_s)->setText(QString());
    EXPECT_FALSE(ok->isEnabled());
}
