#pragma once

#include <QDir>

// The survey report templates: field reconnaissance, boundary points, work management and the
// point records.
void writeFieldReportTemplates(const QDir& folder);
void writePointRecordTemplate(const QDir& folder);
