#include "shell/ui/qt_prompts.h"

#include "shell/ui/font_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton boxButton(Prompts::Answer answer) {
    switch (answer) {
    case Prompts::Answer::Ok:
        return QMessageBox::Ok;
    case Prompts::Answer::Cancel:
        return QMessageBox::Cancel;
    case Prompts::Answer::Yes:
        return QMessageBox::Yes;
    case Prompts::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

// A dialog owned by the main window may open under the modal dialog that asked for it, out of
// sight and out of reach.
QWidget* QtPrompts::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return parent_;
}

Prompts::Answer QtPrompts::message(const Message& message) {
    QMessageBox box(boxIcon(message.icon), message.title, QString(message.text).replace(u"\r\n"_s, u"\n"_s),
                    QMessageBox::NoButton, owner());
    switch (message.buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (message.defaultAnswer) box.setDefaultButton(boxButton(*message.defaultAnswer));
    // A message must be readable even while a command shows the hourglass.
    const bool busy = busyDepth_ > 0;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    if (busy) QApplication::restoreOverrideCursor();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtPrompts::runFileDialog(const FileRequest& request, bool save) {
    QFileDialog dialog(owner(), request.title);
    // Qt's own dialog: the same on every desktop, and its patterns ignore letter case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The command asks before replacing a file (OutputChoice), once and in its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    const QString folder = !request.folder.isEmpty() ? request.folder : lastFolder_;
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    if (!request.name.isEmpty()) dialog.selectFile(request.name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

QString QtPrompts::openFile(const FileRequest& request) {
    return runFileDialog(request, false);
}

QString QtPrompts::saveFile(const FileRequest& request) {
    return runFileDialog(request, true);
}

std::optional<QString> QtPrompts::printerSetup(const QString& printerName) {
    QPrinter printer;
    if (!printerName.isEmpty()) printer.setPrinterName(printerName);
    QPrintDialog dialog(&printer, owner());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setWindowTitle(u"プリンタの設定"_s);
    // This is the set-up form of the dialog: it chooses, it does not print.
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) button->setText(u"OK"_s);
        }
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return printer.printerName();
}

QString QtPrompts::chooseFolder(const QString& title, const QString& folder) {
    const QString start = !folder.isEmpty() ? folder : lastFolder_;
    const QString chosen = QFileDialog::getExistingDirectory(owner(), title, start);
    if (!chosen.isEmpty()) lastFolder_ = chosen;
    return chosen;
}

std::optional<QString> QtPrompts::chooseFont(const QString& font) {
    FontDialog dialog(font, owner());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenFont();
}

void QtPrompts::setBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}
