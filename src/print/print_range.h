#pragma once

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
