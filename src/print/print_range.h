#pragma once

#include "print/print_renderer.h"

#include <QList>
#include <QString>

// The page range of the print dialog. A "from" outside the document keeps the last valid one;
// a "to" before "from" or past the end becomes the last page.
class PrintRange {
public:
    PrintRange(int printFromPage, int printToPage)
        : PrintFromPage(printFromPage), PrintToPage(printToPage), FromPage(printFromPage),
          ToPage(printToPage) {}

    void fromTextChanged(const QString& text);
    void toTextChanged(const QString& text);
    // "from" typed after "to" is not checked against it: such a range prints nothing.
    bool printable() const { return FromPage <= ToPage; }

    static const QString Backwards; // told instead of printing a backwards range
    static const QString PrintFailed;

    const int PrintFromPage;
    const int PrintToPage;
    int FromPage;
    int ToPage;
};

// The pages of a print run that went to the printer: from..last, none when last < from. A
// stopped run ends its job with the pages drawn so far, which print.
struct PrintedPages {
    int from = 1;
    int to = 0; // the last page asked for
    int last = 0;
    bool stopped = false;
    QList<UnreadPicture> unread; // photos whose frames were left empty

    // What the print dialog tells at the end of the run.
    QString text() const;
};
