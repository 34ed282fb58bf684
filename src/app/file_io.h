#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reading and writing for every file the program keeps. Failures throw AppError
// whose text is the headline, the file and the reason, one a line.
QString fileFailure(const QString& headline, const QString& path, const QString& reason);

QByteArray readWholeFile(const QString& path, const QString& headline);
// Written to a temporary file and renamed into place, so a crash or a full disk never leaves
// half a file behind.
void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& headline);
