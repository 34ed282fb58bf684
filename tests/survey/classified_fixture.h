#pragma once

#include "survey/classified_table.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A temporary folder holding a crew's CSV and, on request, its photos.
class ClassifiedFixture : public testing::Test {
protected:
    static const QString Header;

    // A data line: key in field 3 (公図正) or field 1 (図番) as the test sets them.
    static QString line(const QString& f1, const QString& f3, const QString& f4, const QString& near,
                        const QString& far, const QString& f9 = QStringLiteral("1"));
    // The lines after the header, CP932, CR LF after each.
    QString writeCsv(const QStringList& lines, const QString& name = QStringLiteral("crew.csv"));
    void touch(const QString& relative);
    QString path(const QString& relative) const { return dir.filePath(relative); }
    QString folder() const;

    QTemporaryDir dir;
};
