#pragma once

#include <QString>

// A file shipped with the program (workbook templates, PHOTO03.DTD): the copy in the program
// folder wins, so users can replace it; then templates/ beside the executable; then the
// source tree's templates/. Empty when none exists.
QString findTemplate(const QString& programFolder, const QString& name);
