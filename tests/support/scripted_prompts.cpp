#include "support/scripted_prompts.h"

Prompts::Answer ScriptedPrompts::message(const Message& message) {
    Answer answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else if (message.defaultAnswer) {
        answer = *message.defaultAnswer;
    } else {
        answer = message.buttons == Buttons::Ok         ? Answer::Ok
                 : message.buttons == Buttons::OkCancel ? Answer::Ok
                                                        : Answer::No;
    }
    messages.append({message, answer});
    return answer;
}

QString ScriptedPrompts::openFile(const FileRequest& request) {
    fileRequests.append(request);
    if (openPaths.empty()) return {};
    QString path = openPaths.front();
    openPaths.pop_front();
    return path;
}

QString ScriptedPrompts::saveFile(const FileRequest& request) {
    fileRequests.append(request);
    if (savePaths.empty()) return {};
    QString path = savePaths.front();
    savePaths.pop_front();
    return path;
}

std::optional<QString> ScriptedPrompts::printerSetup(const QString&) {
    if (printers.empty())
        return std::nullopt;
    const QString printer = printers.front();
    printers.pop_front();
    if (printer.isEmpty())
        return std::nullopt;
    return printer;
}

QStringList ScriptedPrompts::texts() const {
    QStringList result;
    for (const Recorded& recorded : messages)
        result << recorded.message.text;
    return result;
}
