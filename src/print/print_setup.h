#pragma once

#include <QString>
#include <QStringList>

class PrintDocument;
class Settings;

// What the preview hands to the print dialog: the printer, paper and orientation the document
// was built for and the page range offered.
struct PrintJob {
    QString PrinterName;
    QString PaperName;       // "A3" or "A4"
    QString OrientationName; // "横方向" or "縦方向"
    int PrintFromPage = 1;
    int PrintToPage = 1;
};

// The information font of settings item 20, "name:size".
struct InfoFont {
    QString name;
    double size = 0;
    static InfoFont parse(const QString& setting);
};

inline const QString PrintDocumentName = QStringLiteral("写真長印刷");

// Sets device, document name, paper, orientation and font on a new document from the
// settings; the printer is item 3, or the one chosen in the printer set-up when item 3 names
// none.
PrintJob setUpDocument(PrintDocument& document, const Settings& settings, const QString& defaultPrinter);

// The printer a print goes to, as the print dialog shows it, and why it cannot take the job.
struct PrinterCheck {
    QString name;    // the printer the job names, else the system's default; may be empty
    QString problem; // empty when the printer is installed here

    static const QString NoPrinter;    // no printer named and none installed
    static const QString NotChosen;    // none named, no default, but some installed
    static const QString NotInstalled; // "プリンタ「%1」は…", the name filled in
};
PrinterCheck checkPrinter(const QString& jobPrinter, const QStringList& installed,
                          const QString& systemDefault);
