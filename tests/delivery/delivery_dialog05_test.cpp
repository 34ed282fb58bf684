#include "album/ui/photo_info_dialog.h"
#include "delivery/delivery_settings.h"
#include "delivery/kana_width.h"
#include "delivery/ui/delivery_dialog.h"
#include "delivery_fixture.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/settings_file.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace {

QStringList lines(const QString& title, const QString& date) {
    QStringList result(19);
    result[9] = title;
    result[11] = u"測量"_s;
    result[12] = date;
    return result;
}

} // namespace

class DeliveryDialog05Test : public DeliveryFolder {
protected:
    void SetUp() override {
        workspace.CurrentFolder = out.path();
        workspace.replaceRows(u"fill"_s,
                              {photoRow(jpeg(u"a.jpg"_s), lines(u"ﾎﾟﾝﾌﾟ据付"_s, u"2024-06-01"_s)),
                               photoRow(jpeg(u"b.jpg"_s), lines(u"全景"_s, {}))},
                              1);
        workspace.UpdateRowTotal();
    }
    template <typename T> T* child(QWidget& dialog, const QString& name) {
        T* widget = dialog.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    Workspace workspace{source.path()};
    ScriptedPrompts prompts;
};

TEST_F(DeliveryDialog05Test, TheCurrentStandardIsPreselectedAndTheChoiceIsRemembered) {
    {
        frmXML dialog(workspace, prompts);
        EXPECT_TRUE(child<QRadioButton>(dialog, u"Option1(0)"_s)->isChecked());
        EXPECT_EQ(child<QComboBox>(dialog, u"Cmb3"_s)->currentText(), u"土木202303-01"_s);
        child<QRadioButton>(dialog, u"Option1(1)"_s)->setChecked(true);
        EXPECT_FALSE(child<QComboBox>(dialog, u"Cmb3"_s)->isEnabled());
    }
    EXPECT_EQ(workspace.settings.text(196), u"03"_s);
    frmXML again(workspace, prompts);
    EXPECT_TRUE(child<QRadioButton>(again, u"Option1(1)"_s)->isChecked());
    child<QRadioButton>(again, u"Option1(0)"_s)->setChecked(true);
    child<QComboBox>(again, u"Cmb3"_s)->setEditText(u"土木202003-01"_s);
    child<QComboBox>(again, u"Cmb4"_s)->setCurrentText(u"1"_s);
    EXPECT_EQ(workspace.settings.text(196), u"05"_s);
    EXPECT_EQ(workspace.settings.text(197), u"土木202003-01"_s);
    EXPECT_EQ(workspace.settings.text(198), u"1"_s);
}

TEST(DeliverySettings, TextsSurviveTheSettingsFileAndEmptyMeansTheDefaults) {
    Settings settings;
    EXPECT_EQ(DeliverySettings::version(settings), Version::V05);
    DeliverySettings::store(settings, Version::V03, u"土木201603-01"_s, u"1"_s);
    const Settings read = SettingsFile::parse(SettingsFile::serialize(settings).bytes);
    EXPECT_EQ(DeliverySettings::version(read), Version::V03);
    DeliveryRequest request;
    DeliverySettings::apply(read, Version::V05, request);
    EXPECT_EQ(request.standard, u"土木201603-01"_s);
    EXPECT_EQ(request.frequencyDefault, u"1"_s);
}

TEST_F(DeliveryDialog05Test, CheckListsTheFindingsAndTheKanaFixIsOneUndoableCommand) {
    frmXML dialog(workspace, prompts);
    child<QPushButton>(dialog, u"Command4"_s)->click();
    auto* list = child<QTableWidget>(dialog, u"SSCheck"_s);
    ASSERT_EQ(list->rowCount(), 2) << prompts.lastMessage().text.toStdString();
    EXPECT_TRUE(list->item(0, 0)->text().startsWith(u"写真帳 1 行目"_s));
    EXPECT_EQ(list->item(0, 1)->text(), u"写真タイトル（情報 10 行目）"_s);
    EXPECT_TRUE(list->item(0, 2)->text().contains(u"「ﾎ」半角カナ"_s));
    EXPECT_TRUE(list->item(1, 0)->text().startsWith(u"写真帳 2 行目"_s));
    EXPECT_EQ(child<QTabWidget>(dialog, u"SSTab1"_s)->currentIndex(), 3);

    // The export refuses and writes nothing.
    child<QPushButton>(dialog, u"cmdOK"_s)->click();
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    child<QPushButton>(dialog, u"Command5"_s)->click();
    EXPECT_TRUE(workspace.SS1.text(1, AlbumColumn::Info).contains(u"ポンプ据付"_s));
    workspace.undoStack.undo();
    EXPECT_TRUE(workspace.SS1.text(1, AlbumColumn::Info).contains(u"ﾎﾟﾝﾌﾟ据付"_s));
    workspace.undoStack.redo();

    // A double click opens the row's information.
    emit list->cellDoubleClicked(1, 0);
    auto* info = dialog.findChild<frmPIC*>();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->openedRow(), 2);
    info->findChild<QComboBox*>(u"Cmb1_4"_s)->setCurrentText(u"2024/6/2"_s);
    info->findChild<QPushButton*>(u"cmdOK"_s)->click();

    prompts.messages.clear();
    child<QPushButton>(dialog, u"cmdOK"_s)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << prompts.lastMessage().text.toStdString();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text,
              u"電子納品を出力しました（写真 2 枚）。\n写真管理基準: PHOTO05 (土木202303-01)"_s);
    expectValidPhotoXml05(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(DeliveryDialog05Test, FlagsWriteTwentyOneLinesOnlyWhenOneIsSet) {
    // The dialog deletes itself when it closes.
    auto* dialog = new frmPIC(workspace, prompts, 1);
    EXPECT_EQ(child<QCheckBox>(*dialog, u"Chk1"_s)->checkState(), Qt::Unchecked) << "unset shows as 0";
    EXPECT_EQ(dialog->lines().size(), 21);
    child<QPushButton>(*dialog, u"cmdOK"_s)->click();
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info).count(u"\r\n"_s), 19);

    auto* flagged = new frmPIC(workspace, prompts, 2);
    auto* frequency = child<QCheckBox>(*flagged, u"Chk2"_s);
    frequency->click();
    frequency->click(); // on and off again: set to 0
    child<QPushButton>(*flagged, u"cmdOK"_s)->click();
    const QString text = workspace.SS1.text(2, AlbumColumn::Info);
    EXPECT_EQ(text.count(u"\r\n"_s), 21);
    EXPECT_TRUE(text.endsWith(u"\r\n\r\n0\r\n"_s));

    auto* reopened = new frmPIC(workspace, prompts, 2);
    EXPECT_EQ(child<QCheckBox>(*reopened, u"Chk1"_s)->checkState(), Qt::Unchecked);
    EXPECT_EQ(child<QCheckBox>(*reopened, u"Chk2"_s)->checkState(), Qt::Unchecked);
    EXPECT_EQ(reopened->lines().mid(19), (QStringList{QString(), u"0"_s})) << "the unset line stays unset";
    reopened->findChild<QPushButton*>(u"cmdCancel"_s)->click();
}

TEST(KanaWidth, SoundMarksJoinTheirKanaAndOnlyDeliveryLinesChange) {
    EXPECT_EQ(KanaWidth::toFullWidth(u"ｶﾞｽﾊﾟｲﾌﾟ ｳﾞｨ ｱﾟ ｰ｡"_s), u"ガスパイプ ヴィ ア゜ ー。"_s);
    QStringList info(21, u"ｶﾅ"_s);
    QList<AlbumRow> rows = {photoRow(u"a.jpg"_s, info), photoRow(u"b.jpg"_s, {u"全角"_s})};
    EXPECT_EQ(KanaWidth::convertDeliveryLines(rows), 1);
    const QStringList converted = rows.at(0).info.split(u"\r\n"_s);
    EXPECT_EQ(converted.at(7), u"ｶﾅ"_s);
    EXPECT_EQ(converted.at(8), u"カナ"_s);
    EXPECT_EQ(converted.at(18), u"カナ"_s);
    EXPECT_EQ(converted.at(19), u"ｶﾅ"_s);
}
