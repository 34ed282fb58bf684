#include "excel/workbook_run_report.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// Messages are made for message boxes, with CR LF between their lines.
QString plain(const QString& message) {
    return QString(message).replace(u"\r\n"_s, u"\n"_s);
}

} // namespace

int reportWorkbookRun(const ReportResult& failure, const QString& outputPath, qsizetype rows,
                      const QStringList& notes, QTextStream& out, QTextStream& err) {
    if (!failure) {
        out << QDir::toNativeSeparators(outputPath) << u": "_s << rows << u" 行\n"_s;
        for (const QString& note : notes)
            err << plain(note) << u'\n';
        return 0;
    }
    err << plain(failure->message) << u'\n';
    for (const QString& line : failure->badDetails)
        err << line << u'\n';
    if (!failure->detail.isEmpty() && failure->detail != failure->message)
        err << plain(failure->detail) << u'\n';
    return 1;
}
