#pragma once

#include "base/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

// Answers prompts from queues and records every message, so tests can check the exact texts.
class ScriptedPrompts : public Prompts {
public:
    struct Recorded {
        Message message;
        Answer answer;
    };

    Answer message(const Message& message) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QString> printerSetup(const QString& printerName) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    std::optional<QString> chooseFont(const QString& font) override;

    // Queued answers; a message with no queued answer is answered with its default button
    // (No for a question without one), a file dialog with cancel.
    std::deque<Answer> answers;
    std::deque<QString> openPaths;
    std::deque<QString> savePaths;
    std::deque<QString> printers; // an empty name cancels the dialog
    std::deque<QString> folders;  // an empty path cancels the folder chooser
    std::deque<QString> fonts;    // "family:size"; an empty entry cancels
    QStringList folderTitles;

    QList<Recorded> messages;
    QList<FileRequest> fileRequests;

    const Message& lastMessage() const { return messages.constLast().message; }
};
