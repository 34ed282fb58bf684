#pragma once

#include "base/prompts.h"

class QWidget;

// Real dialogs, over the window in front: the modal dialog that asks, else the main window.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer message(const Message& message) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QString> printerSetup(const QString& printerName) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    std::optional<QString> chooseFont(const QString& font) override;
    void setBusy(bool busy) override;

private:
    QString runFileDialog(const FileRequest& request, bool save);
    QWidget* owner() const;

    QWidget* parent_;
    QString lastFolder_;
    int busyDepth_ = 0;
};
