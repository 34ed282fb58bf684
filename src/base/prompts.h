#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The one door to the user. Windows use QtPrompts; tests answer from a script.
class Prompts {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Message {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        std::optional<Answer> defaultAnswer; // unset: the first button
    };

    // A file dialog. filter is in the "description|pattern|description|pattern" form the
    // commands are written with; filterIndex counts from 1 and picks the preselected entry.
    struct FileRequest {
        // Written as {title, filter, index, folder} or with the proposed name after the folder.
        FileRequest(QString title = {}, QString filter = {}, int filterIndex = 1, QString folder = {},
                    QString name = {})
            : title(std::move(title)), filter(std::move(filter)), filterIndex(filterIndex),
              folder(std::move(folder)), name(std::move(name)) {}
        QString title;
        QString filter;
        int filterIndex = 1;
        QString folder;
        QString name; // the file name proposed in a save dialog
    };

    virtual ~Prompts() = default;

    virtual Answer message(const Message& message) = 0;
    // Empty when the user cancels.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;
    // The printer set-up dialog for the printer named; the chosen name, or nothing on cancel.
    virtual std::optional<QString> printerSetup(const QString& printerName) = 0;
    // A folder chooser starting at folder; empty when the user cancels.
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
    // A font chooser starting at the font described as "family:size"; the chosen font in the
    // same form, or nothing on cancel.
    virtual std::optional<QString> chooseFont(const QString& font) = 0;

    // The hourglass pointer while a command works.
    virtual void setBusy(bool busy) { (void)busy; }

    // Shorthands for the common message boxes.
    Answer ask(const QString& text, const QString& title, Icon icon = Icon::Question,
               std::optional<Answer> defaultAnswer = std::nullopt);
    void tell(const QString& text, const QString& title, Icon icon);
};

// Hourglass for the length of a scope.
class BusyScope {
public:
    explicit BusyScope(Prompts& prompts) : prompts_(prompts) { prompts_.setBusy(true); }
    ~BusyScope() { prompts_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Prompts& prompts_;
};

// "desc|*.a|desc|*.b" as a list of Qt name filters ("desc (*.a)"), matching either letter case.
QStringList qtNameFilters(const QString& vbFilter);
