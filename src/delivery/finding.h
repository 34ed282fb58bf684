#pragma once

#include <QList>
#include <QString>

// One thing the delivery check found in a photo index or its folder.
struct Finding {
    // Error: the official checker refuses the delivery. Warning: an error found before an export
    // to the old standard, which writes it all the same. Note: advice.
    enum class Severity { Error, Warning, Note };
    Severity severity = Severity::Error;
    QString code;    // "structure", "charset", ...
    int serial = 0;  // シリアル番号 of the photo; 0 when it is about no photo
    QString element; // the element concerned; empty when none
    QString message; // Japanese, for the user
    // Before an export: the album, row and photo the finding is about, and its sheet row
    // (0 for rows of listed albums and for findings about no photo).
    QString place;
    int sheetRow = 0;
    int line = 0; // the information line the value came from; 0 when none
};

namespace Findings {

Finding make(Finding::Severity severity, const QString& code, int serial, const QString& element,
             const QString& message);

bool hasErrors(const QList<Finding>& findings);

// severity ("error", "warning", "note"), code, serial or "-", element or "-", message:
// tab-separated, no line end.
QString line(const Finding& finding);

// The element, with the information line it came from when known: "写真タイトル（情報 10 行目）".
QString item(const Finding& finding);

} // namespace Findings
