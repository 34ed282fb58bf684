#include "delivery/ui/cd_label_dialog.h"
#include "delivery/ui/delivery_dialog.h"
#include "print/print_document.h"
#include "print/ui/preview_window.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T* child(QWidget& window, const QString& name) {
    T* widget = window.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QStringList gridTexts(QTableWidget* grid) {
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, 0)->text();
    return texts;
}

QStringList pageTexts(const PrintDocument& document) {
    QStringList texts;
    for (const DrawOp& op : document.page(1))
        if (const auto* text = std::get_if<TextOp>(&op)) texts << text->text;
    return texts;
}

class CdLabelDialogTest : public testing::Test {
protected:
    void SetUp() override { workspace.settings = Settings::defaults(); }

    // Presses "ラベル出力" and closes the preview it opens; returns the texts of the label page.
    QStringList printLabel(DialogLbl& dialog) {
        QStringList texts;
        bool previewShown = false;
        QTimer::singleShot(0, [&] {
            if (auto* preview = dialog.findChild<PVIEW*>()) {
                previewShown = preview->isVisible();
                previewKind = preview->kind();
                if (preview->document().PageCount() == 1) texts = pageTexts(preview->document());
                preview->reject();
            }
        });
        child<QPushButton>(dialog, u"OKButton"_s)->click();
        EXPECT_TRUE(previewShown);
        return texts;
    }

    QTemporaryDir folder;
    Workspace workspace{folder.path()};
    ScriptedPrompts prompts;
    std::optional<PreviewDocument::Kind> previewKind; // of the last preview opened
};

} // namespace

TEST_F(CdLabelDialogTest, OpensOnTheStoredEntriesWithElevenNamedRowsAndFourSpares) {
    workspace.settings.setText(130, u"1"_s);
    for (int n = 131; n <= 141; ++n)
        workspace.settings.setText(n, u"内容"_s + QString::number(n));
    workspace.settings.setText(149, u"0"_s);
    DialogLbl dialog(workspace, prompts);

    EXPECT_EQ(dialog.windowTitle(), u"埼玉県電子納品用CDﾗﾍﾞﾙ出力"_s);
    EXPECT_TRUE(child<QRadioButton>(dialog, u"Opt1(1)"_s)->isChecked());
    EXPECT_EQ(child<QRadioButton>(dialog, u"Opt1(0)"_s)->text(), u"TECRIS"_s);
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text1"_s)->text(), u"46.5"_s);
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text2"_s)->text(), u"21.5"_s);
    EXPECT_FALSE(child<QCheckBox>(dialog, u"Check1"_s)->isChecked());
    EXPECT_EQ(child<QPushButton>(dialog, u"CancelButton"_s)->text(), u"ｷｬﾝｾﾙ"_s);

    auto* grid = child<QTableWidget>(dialog, u"SSLbl"_s);
    ASSERT_EQ(grid->rowCount(), 15);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), u"設定内容"_s);
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), u"登録番号"_s);
    EXPECT_EQ(grid->verticalHeaderItem(10)->text(), u"枚数（1/1）"_s);
    EXPECT_EQ(grid->verticalHeaderItem(14)->text(), u"予備4"_s);
    const QStringList texts = gridTexts(grid);
    EXPECT_EQ(texts.at(0), u"内容131"_s);
    EXPECT_EQ(texts.at(10), u"内容141"_s);
    EXPECT_EQ(texts.mid(11), QStringList(4, QString()));
}

TEST_F(CdLabelDialogTest, LabelOutputStoresTheEntriesOpensTheLabelPreviewAndStaysOpen) {
    DialogLbl dialog(workspace, prompts);
    dialog.show();
    child<QRadioButton>(dialog, u"Opt1(1)"_s)->click();
    child<QLineEdit>(dialog, u"Text1"_s)->setText(u"12mm"_s);
    child<QLineEdit>(dialog, u"Text2"_s)->setText(u"上端"_s);
    child<QCheckBox>(dialog, u"Check1"_s)->setChecked(false);
    auto* grid = child<QTableWidget>(dialog, u"SSLbl"_s);
    grid->item(0, 0)->setText(u"0123456"_s);
    grid->item(3, 0)->setText(u"さいたま市"_s);
    grid->item(12, 0)->setText(u"控え"_s);

    const QStringList page = printLabel(dialog);

    EXPECT_EQ(previewKind, PreviewDocument::Label);
    EXPECT_EQ(workspace.settings.text(130), u"1"_s);
    EXPECT_EQ(workspace.settings.text(131), u"0123456"_s);
    EXPECT_EQ(workspace.settings.text(134), u"さいたま市"_s);
    EXPECT_EQ(workspace.settings.text(147), u"12"_s);
    EXPECT_EQ(workspace.settings.text(148), u"0"_s);
    EXPECT_EQ(workspace.settings.text(149), u"0"_s);
    EXPECT_EQ(page.count(u"CORINS登録番号 0123456"_s), 2);
    EXPECT_EQ(page.count(u"工事箇所：さいたま市"_s), 2);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // not closed by the output
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text1"_s)->text(), u"12"_s);
    EXPECT_TRUE(prompts.messages.isEmpty());

    DialogLbl reopened(workspace, prompts);
    EXPECT_TRUE(child<QRadioButton>(reopened, u"Opt1(1)"_s)->isChecked());
    EXPECT_FALSE(child<QCheckBox>(reopened, u"Check1"_s)->isChecked());
    const QStringList texts = gridTexts(child<QTableWidget>(reopened, u"SSLbl"_s));
    EXPECT_EQ(texts.at(0), u"0123456"_s);
    EXPECT_EQ(texts.at(3), u"さいたま市"_s);
    EXPECT_EQ(texts.at(12), QString()); // the spare rows are not kept
}

TEST_F(CdLabelDialogTest, ACellStillBeingTypedIntoIsStored) {
    DialogLbl dialog(workspace, prompts);
    dialog.show();
    auto* grid = child<QTableWidget>(dialog, u"SSLbl"_s);
    grid->setCurrentCell(1, 0);
    grid->editItem(grid->item(1, 0));
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(u"打ちかけの名称"_s);

    printLabel(dialog);
    EXPECT_EQ(workspace.settings.text(132), u"打ちかけの名称"_s);
}

TEST_F(CdLabelDialogTest, CancelStoresNothing) {
    const Settings before = workspace.settings;
    DialogLbl dialog(workspace, prompts);
    child<QRadioButton>(dialog, u"Opt1(1)"_s)->click();
    child<QLineEdit>(dialog, u"Text1"_s)->setText(u"99"_s);
    child<QTableWidget>(dialog, u"SSLbl"_s)->item(0, 0)->setText(u"x"_s);
    child<QPushButton>(dialog, u"CancelButton"_s)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(workspace.settings, before);
    EXPECT_EQ(previewKind, std::nullopt);
}

TEST_F(CdLabelDialogTest, TheDeliveryDialogsLabelButtonOpensIt) {
    workspace.CurrentFolder = folder.path();
    frmXML delivery(workspace, prompts);
    auto* button = child<QPushButton>(delivery, u"Command3"_s);
    EXPECT_TRUE(button->isEnabled());
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = delivery.findChild<DialogLbl*>()) {
            opened = dialog->isVisible();
            dialog->reject();
        }
    });
    button->click();
    EXPECT_TRUE(opened);
}
