#include "viewer/ui/about_box.h"

#include "tovenla_version.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

const QString frmAbout::ApplicationTitle = u"Tovenla2"_s;
const QString frmAbout::ContactText =
    u"写真帳の作成と電子納品のためのプログラムです。\n"
    u"ご質問・不具合のご連絡は、導入時にお知らせした窓口までお寄せください。"_s;
const QString frmAbout::LegalNotice =
    u"このプログラムは現状のまま提供されます。作成した写真帳、帳票、電子納品データの内容は、"
    u"提出の前に必ずご自身で確認してください。このプログラムの使用によって生じた損害について、"
    u"作成者は責任を負いません。このプログラムの全部または一部を許可なく複製、配布することを禁じます。"_s;

QString frmAbout::versionCaption(const QString& version) {
    const QStringList parts = version.split(u'.');
    const QString major = parts.value(0, u"0"_s);
    const QString minor = parts.value(1, u"0"_s);
    const QString revision = parts.value(2, u"0"_s);
    return u"バージョン  "_s + major + u'.' + minor + revision;
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmAbout"_s);
    setWindowTitle(ApplicationTitle + u"のバージョン情報"_s);
    setModal(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(u"picIcon"_s);
    QIcon icon = parent ? parent->window()->windowIcon() : QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon->setPixmap(icon.pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitle = new QLabel(u"ソフトウェア  "_s + ApplicationTitle, this);
    lblTitle->setObjectName(u"lblTitle"_s);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* lblVersion = new QLabel(versionCaption(QStringLiteral(TOVENLA_VERSION)), this);
    lblVersion->setObjectName(u"lblVersion"_s);

    const auto readOnlyText = [this](const char* name, const QString& text) {
        auto* box = new QPlainTextEdit(text, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setReadOnly(true);
        box->setMinimumHeight(box->fontMetrics().lineSpacing() * 4);
        return box;
    };
    auto* txtContact = readOnlyText("txtContact", ContactText);
    auto* txtDisclaimer = readOnlyText("txtDisclaimer", LegalNotice);
    auto* disclaimerLabel = new QLabel(u"著作権"_s, this);

    auto* cmdOK = new QPushButton(u"OK"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 3, 1);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(txtContact, 2, 1);
    grid->addWidget(disclaimerLabel, 3, 1);
    grid->addWidget(txtDisclaimer, 4, 1);
    grid->addWidget(cmdOK, 5, 1, Qt::AlignRight);
    setMinimumWidth(lblTitle->fontMetrics().horizontalAdvance(u'あ') * 28);
}
