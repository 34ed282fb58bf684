// Every shipped template: its text in the fonts of Japanese forms, and every sheet's page, with
// the rows above it, whole on its paper, even where the columns come out wider than in Excel.
#include "base/shipped_files.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

TEST(TemplatePages, EveryPageOfEveryShippedTemplateFitsItsPaper) {
    QStringList templates;
    for (const QString& folder : ShippedFiles::folders())
        for (const QString& name : QDir(folder).entryList({u"*ORG.xlsx"_s}))
            templates << QDir(folder).filePath(name);
    ASSERT_GE(templates.size(), 6);
    for (const QString& path : templates) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray styles = XlsxPackage::fromZip(file.readAll(), path).bytes("xl/styles.xml");
        EXPECT_FALSE(styles.contains("IPA")) << path.toStdString();
        EXPECT_TRUE(styles.contains("ＭＳ Ｐゴシック")) << path.toStdString();

        Workbook book = Workbook::open(path);
        for (int sheet = 1; sheet <= book.sheetCount(); ++sheet) {
            book.activate(sheet);
            const std::string where = QString(path + u" "_s + book.sheetName(sheet)).toStdString();
            const int columns = book.printAreaLastColumn();
            ASSERT_GT(columns, 0) << where << ": no print area";
            ASSERT_FALSE(book.rowBreaks().isEmpty()) << where;
            double width = 0, height = 0;
            for (int c = 1; c <= columns; ++c)
                width += book.columnWidth(c);
            for (int r = 1; r <= book.rowBreaks().first(); ++r)
                height += book.rowHeight(r);
            const PageSetup setup = book.pageSetup();
            const double margins = 2 * setup.marginInches * 72;
            double across = setup.paperSize == 8 ? 841.89 : 595.28,
                   down = setup.paperSize == 8 ? 1190.55 : 841.89;
            if (setup.landscape) std::swap(across, down);
            across -= margins;
            down -= margins;
            // Fitted to the width, a page is as wide as the paper in any program; else its
            // columns may come out 7 % wider than Excel's.
            const double scale = setup.fitToWidth ? std::min(1.0, across / width) : setup.scale / 100.0;
            if (!setup.fitToWidth) {
                EXPECT_LE(width * 1.07 * scale, across) << where;
            }
            EXPECT_LE(height * scale, down) << where;
        }
    }
}
