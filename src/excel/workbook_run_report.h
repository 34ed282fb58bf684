#pragma once

#include "xlsx/report_pipeline.h"

#include <QTextStream>

// How a workbook sub-command ends: the file and its rows on out and its notes on err (status
// 0), or the failure on err with every bad row it names (status 1).
int reportWorkbookRun(const ReportResult& failure, const QString& outputPath, qsizetype rows,
                      const QStringList& notes, QTextStream& out, QTextStream& err);
