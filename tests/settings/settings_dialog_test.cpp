#include "settings/settings_transfer.h"
#include "settings/ui/settings_dialog.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/settings_file.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override { workspace.settings = Settings::defaults(); }
    template <typename W> W* child(QWidget& window, const QString& name) {
        auto* found = window.findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void setString(int item, const QString& text) {
        workspace.settings.setItem(item, SettingValue::string(text));
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(SettingsDialogTest, OpeningAppliesTheUnsetRulesAndOkStoresEveryControl) {
    setString(SettingItem::ShowThumbnails, u"*"_s);
    setString(SettingItem::AutoFillFromFile, u"*"_s);
    setString(SettingItem::NearSuffix, u"  _N  "_s);
    setString(SettingItem::PrinterName, u"NoSuchPrinter"_s);
    frmJoken dialog(workspace, prompts);
    EXPECT_EQ(dialog.windowTitle(), u"条件設定"_s);
    EXPECT_TRUE(child<QCheckBox>(dialog, u"Chk13"_s)->isChecked());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(workspace.settings.itemNumber(SettingItem::AutoFillFromFile + i), 0);
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text1"_s)->text(), u"_N"_s);
    EXPECT_EQ(child<QComboBox>(dialog, u"PRCmb"_s)->currentIndex(), -1);
    EXPECT_EQ(child<QLabel>(dialog, u"Label12"_s)->text(), frmJoken::NoFreeTemplate);

    child<QRadioButton>(dialog, u"Opt1(0)"_s)->click();
    child<QLineEdit>(dialog, u"TXSZ(0)"_s)->setText(u"120"_s);
    child<QLineEdit>(dialog, u"txaki(3)"_s)->setText(u"abc"_s);
    child<QLineEdit>(dialog, u"Text2"_s)->setText(u" _F "_s);
    child<QCheckBox>(dialog, u"chk2"_s)->setChecked(true);
    child<QCheckBox>(dialog, u"Check2(0)"_s)->click();
    child<QLineEdit>(dialog, u"Txt8(1)"_s)->setText(u"5"_s);
    child<QPushButton>(dialog, u"cmdOK"_s)->click();

    const Settings& s = workspace.settings;
    EXPECT_EQ(s.itemNumber(SettingItem::PaperLayout), 0);
    EXPECT_EQ(s.itemText(SettingItem::PhotoWidthMm), u"120"_s);
    EXPECT_EQ(s.itemText(SettingItem::MarginRightMm), u"abc"_s); // stored unchecked
    EXPECT_EQ(s.itemText(SettingItem::FarSuffix), u"_F"_s);
    EXPECT_TRUE(s.itemIsOn(SettingItem::MirrorA3));
    EXPECT_TRUE(s.itemIsOn(SettingItem::AutoFillFromFile));
    EXPECT_TRUE(s.itemIsOn(SettingItem::ShowThumbnails));
    EXPECT_EQ(s.itemText(SettingItem::KindLine), u"5"_s);
    EXPECT_EQ(s.itemText(SettingItem::PrinterName), QString());
}

TEST_F(SettingsDialogTest, EnablingFollowsTheCheckBoxesAndTheMirrorKeepsItsValueOnA4) {
    workspace.settings.setItem(SettingItem::PaperLayout, SettingValue::number(0));
    workspace.settings.setItem(SettingItem::MirrorA3, SettingValue::number(1));
    workspace.settings.setItem(SettingItem::AutoFillFromFile, SettingValue::number(1));
    workspace.settings.setItem(SettingItem::AutoFillFileName, SettingValue::number(1));
    workspace.settings.setItem(SettingItem::AutoFillKind, SettingValue::number(0));
    frmJoken dialog(workspace, prompts);
    auto* mirror = child<QCheckBox>(dialog, u"chk2"_s);
    EXPECT_TRUE(mirror->isEnabled());
    child<QRadioButton>(dialog, u"Opt1(1)"_s)->click();
    EXPECT_FALSE(mirror->isEnabled());
    EXPECT_TRUE(mirror->isChecked());

    EXPECT_TRUE(child<QLineEdit>(dialog, u"Txt8(0)"_s)->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(dialog, u"Check3"_s)->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dialog, u"Txt8(1)"_s)->isEnabled());
    child<QCheckBox>(dialog, u"Check2(0)"_s)->click(); // off: everything below it off
    for (const char* name : {"Check2(1)", "Check3", "Txt8(0)"})
        EXPECT_FALSE(child<QWidget>(dialog, QString::fromLatin1(name))->isEnabled()) << name;
    child<QPushButton>(dialog, u"cmdOK"_s)->click();
    EXPECT_TRUE(workspace.settings.itemIsOn(SettingItem::MirrorA3));
}

TEST_F(SettingsDialogTest, FontAndTemplateChoicesAndTheirCancels) {
    workspace.settings.setItem(SettingItem::FreeTemplatePath, SettingValue::string(u"/t/free.xlsx"_s));
    frmJoken dialog(workspace, prompts);
    prompts.fonts.push_back(u"IPAMincho:9"_s);
    child<QPushButton>(dialog, u"Command1"_s)->click();
    EXPECT_EQ(child<QLineEdit>(dialog, u"TXFont"_s)->text(), u"IPAMincho:9"_s);
    child<QPushButton>(dialog, u"Command1"_s)->click(); // cancelled
    EXPECT_EQ(child<QLineEdit>(dialog, u"TXFont"_s)->text(), u"IPAMincho:9"_s);

    child<QPushButton>(dialog, u"Command2"_s)->click(); // cancelled: the template stays
    EXPECT_EQ(workspace.settings.itemText(SettingItem::FreeTemplatePath), u"/t/free.xlsx"_s);
    EXPECT_TRUE(prompts.fileRequests.last().filter.contains(u"*.xlsx"_s));
    prompts.openPaths.push_back(u"/t/other.xls"_s);
    child<QPushButton>(dialog, u"Command2"_s)->click();
    EXPECT_EQ(workspace.settings.itemText(SettingItem::FreeTemplatePath), u"/t/other.xls"_s);
    EXPECT_EQ(child<QLabel>(dialog, u"Label12"_s)->text(), u"/t/other.xls"_s);
}

TEST_F(SettingsDialogTest, SaveCopiesBothFilesUnderTheirOwnNames) {
    writeBytes(dir.filePath(u"tovenla.ini"_s), "ini bytes");
    writeBytes(dir.filePath(u"MJRT.dat"_s), "phrases");
    QTemporaryDir target;
    frmJoken dialog(workspace, prompts);
    prompts.savePaths.push_back(target.filePath(u"whatever.ini"_s));
    child<QPushButton>(dialog, u"Command3"_s)->click();
    EXPECT_EQ(readBytes(target.filePath(u"tovenla.ini"_s)), "ini bytes");
    EXPECT_EQ(readBytes(target.filePath(u"MJRT.dat"_s)), "phrases");
    EXPECT_FALSE(QFile::exists(target.filePath(u"whatever.ini"_s)));

    child<QPushButton>(dialog, u"Command3"_s)->click(); // cancelled: nothing lands anywhere
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(u"MJRT.dat"_s)));
}

TEST_F(SettingsDialogTest, LoadReplacesFilesAndMemoryOrNothingAtAll) {
    writeBytes(dir.filePath(u"tovenla.ini"_s), "old");
    writeBytes(dir.filePath(u"MJRT.dat"_s), "old phrases");
    Settings loaded = Settings::defaults();
    loaded.setItem(SettingItem::PhotoWidthMm, SettingValue::number(77));
    loaded.setText(131, u"番号"_s);
    QTemporaryDir source;
    SettingsFile::WriteSettingsFile(source.filePath(u"saved.ini"_s), loaded);

    {
        frmJoken dialog(workspace, prompts);
        prompts.openPaths.push_back(source.filePath(u"saved.ini"_s)); // no MJRT.dat beside it
        child<QPushButton>(dialog, u"Command4"_s)->click();
        EXPECT_EQ(prompts.lastMessage().title, u"エラー"_s);
        EXPECT_EQ(readBytes(dir.filePath(u"tovenla.ini"_s)), "old");
        EXPECT_EQ(workspace.settings.itemNumber(SettingItem::PhotoWidthMm), 112);
    }

    // A dictionary that is no phrase file is refused like a missing one.
    writeBytes(source.filePath(u"MJRT.dat"_s), "not a phrase file");
    {
        frmJoken dialog(workspace, prompts);
        prompts.openPaths.push_back(source.filePath(u"saved.ini"_s));
        child<QPushButton>(dialog, u"Command4"_s)->click();
        EXPECT_EQ(prompts.lastMessage().title, u"エラー"_s);
        EXPECT_EQ(readBytes(dir.filePath(u"tovenla.ini"_s)), "old");
    }

    PhraseBook saved;
    saved.setPhrase(3, u"境界杭"_s);
    writeBytes(source.filePath(u"MJRT.dat"_s), saved.serialize());
    frmJoken dialog(workspace, prompts);
    prompts.openPaths.push_back(source.filePath(u"saved.ini"_s));
    child<QPushButton>(dialog, u"Command4"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, SettingsTransfer::LoadedMessage);
    EXPECT_EQ(prompts.lastMessage().title, u"Restart"_s);
    EXPECT_EQ(workspace.settings.itemNumber(SettingItem::PhotoWidthMm), 77);
    EXPECT_EQ(workspace.settings.text(131), u"番号"_s);
    EXPECT_EQ(workspace.phrases.phrase(3), u"境界杭"_s);
    EXPECT_EQ(readBytes(dir.filePath(u"MJRT.dat"_s)), saved.serialize());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
