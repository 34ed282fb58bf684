#include "support/scripted_prompts.h"

namespace {

// The next scripted entry, or an empty one (a cancelled dialog) when the script has run out.
QString takeFront(std::deque<QString>& queue) {
    if (queue.empty()) return {};
    QString front = queue.front();
    queue.pop_front();
    return front;
}

} // namespace

Prompts::Answer ScriptedPrompts::message(const Message& message) {
    Answer answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else if (message.defaultAnswer) {
        answer = *message.defaultAnswer;
    } else {
        answer =
            message.buttons == Buttons::Ok || message.buttons == Buttons::OkCancel ? Answer::Ok : Answer::No;
    }
    messages.append({message, answer});
    return answer;
}

QString ScriptedPrompts::openFile(const FileRequest& request) {
    fileRequests.append(request);
    return takeFront(openPaths);
}

QString ScriptedPrompts::saveFile(const FileRequest& request) {
    fileRequests.append(request);
    return takeFront(savePaths);
}

std::optional<QString> ScriptedPrompts::printerSetup(const QString&) {
    const QString printer = takeFront(printers);
    if (printer.isEmpty()) return std::nullopt;
    return printer;
}

QString ScriptedPrompts::chooseFolder(const QString& title, const QString&) {
    folderTitles << title;
    return takeFront(folders);
}

std::optional<QString> ScriptedPrompts::chooseFont(const QString&) {
    const QString font = takeFront(fonts);
    if (font.isEmpty()) return std::nullopt;
    return font;
}
