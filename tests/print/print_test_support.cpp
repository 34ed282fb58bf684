#include "print_test_support.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString writeTestPhoto(const QString& folder, const QString& name, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    const QString path = folder + u'/' + name;
    image.save(path, "JPG");
    return path;
}

namespace {

std::optional<QString> run(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

std::optional<QString> pdfText(const QString& path) {
    return run(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
}

std::optional<int> pdfPageCount(const QString& path) {
    const auto info = run(u"pdfinfo"_s, {path});
    if (!info) return std::nullopt;
    const auto match = QRegularExpression(uR"(Pages:\s+(\d+))"_s).match(*info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

std::optional<QString> pdfInfo(const QString& path, const QString& field) {
    const auto info = run(u"pdfinfo"_s, {path});
    if (!info) return std::nullopt;
    const auto match =
        QRegularExpression(u"^"_s + field + uR"(:\s+(.*)$)"_s, QRegularExpression::MultilineOption)
            .match(*info);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

std::optional<QString> pdfImageList(const QString& path) {
    return run(u"pdfimages"_s, {u"-list"_s, path});
}

std::optional<QImage> pdfPageImage(const QString& path, int page, int dpi) {
    const QString png = path + u"-page"_s;
    const QString n = QString::number(page);
    if (!run(u"pdftoppm"_s,
             {u"-r"_s, QString::number(dpi), u"-f"_s, n, u"-l"_s, n, u"-singlefile"_s, u"-png"_s, path, png}))
        return std::nullopt;
    return QImage(png + u".png"_s);
}
