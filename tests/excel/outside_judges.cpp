#include "outside_judges.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace OutsideJudges {

namespace {
const QString Python = u"/usr/bin/python3"_s;
}

QString output(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString missingPrintTools() {
    for (const char* tool : {"soffice", "pdftotext", "pdfimages", "pdfinfo", "pdftoppm", "pdffonts"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QString::fromLatin1(tool) +
                   u" is missing: LibreOffice (libreoffice-calc-nogui) and poppler-utils judge"_s;
    return {};
}

QString missingOpenpyxl() {
    if (!QFileInfo(Python).isExecutable() ||
        QProcess::execute(Python, {u"-c"_s, u"import openpyxl, PIL"_s}) != 0)
        return u"/usr/bin/python3 with openpyxl and PIL is missing"_s;
    return {};
}

void printToPdf(const QString& folder, const QStringList& workbooks) {
    output(u"soffice"_s,
           QStringList{u"-env:UserInstallation=file://"_s + folder + u"/profile"_s, u"--headless"_s,
                       u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, folder} +
               workbooks,
           240000);
}

int pageCount(const QString& pdf) {
    const auto match = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(output(u"pdfinfo"_s, {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

std::map<int, int> picturesPerPage(const QString& pdf) {
    std::map<int, int> pictures;
    const QStringList listed = output(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n');
    for (const QString& line : listed.mid(2)) {
        const QStringList fields = line.simplified().split(u' ');
        if (fields.size() > 2 && fields[2] == u"image"_s) ++pictures[fields[0].toInt()];
    }
    return pictures;
}

QString pageText(const QString& pdf, int page) {
    const QString p = QString::number(page);
    return output(u"pdftotext"_s, {u"-f"_s, p, u"-l"_s, p, pdf, u"-"_s});
}

QString fontsOf(const QString& pdf) {
    return output(u"pdffonts"_s, {pdf});
}

QImage renderPage(const QString& pdf, int page, int dpi, const QString& folder) {
    const QString p = QString::number(page), base = folder + u"/page"_s + p;
    output(u"pdftoppm"_s,
           {u"-r"_s, QString::number(dpi), u"-f"_s, p, u"-l"_s, p, u"-singlefile"_s, u"-png"_s, pdf, base});
    return QImage(base + u".png"_s);
}

QColor photoColour(int n) {
    return QColor::fromHsv(n * 50 % 360, 255, 255);
}

std::map<int, QRect> photoBoxes(const QImage& page, int photos) {
    std::map<int, QRect> boxes;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.hsvSaturation() < 180 || c.value() < 180) continue;
            for (int n = 1; n <= photos; ++n) {
                const int distance = std::abs(c.hsvHue() - photoColour(n).hsvHue());
                if (std::min(distance, 360 - distance) < 12) boxes[n] |= QRect(x, y, 1, 1);
            }
        }
    return boxes;
}

QString python(const QString& script, const QStringList& args) {
    return output(Python, QStringList{u"-c"_s, script} + args).trimmed();
}

} // namespace OutsideJudges
