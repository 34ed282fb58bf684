#include "delivery_fixture.h"

#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString infoLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + u"\r\n"_s;
    return text;
}

AlbumRow photoRow(const QString& path, const QStringList& lines) {
    AlbumRow row;
    row.path = path;
    row.info = infoLines(lines);
    return row;
}

QByteArray photoBytes(int seed, int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2654435761u * quint32(seed + 1);
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = char(state >> 24);
    }
    return bytes;
}

std::optional<QString> xmllintErrors(const QString& xmlPath, const QString& dtdPath) {
    const QString xmllint = QStandardPaths::findExecutable(u"xmllint"_s);
    if (xmllint.isEmpty()) return std::nullopt;
    QProcess process;
    process.setWorkingDirectory(QFileInfo(xmlPath).absolutePath());
    process.start(xmllint, {u"--noout"_s, u"--dtdvalid"_s, dtdPath, xmlPath});
    process.waitForFinished(30000);
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return QString();
    return QString::fromUtf8(process.readAllStandardError());
}

QString shippedDtd() {
    return QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates/PHOTO03.DTD"_s;
}

void expectValidPhotoXml(const QString& xmlPath) {
    const auto ours = xmllintErrors(xmlPath, shippedDtd());
    if (!ours) {
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    }
    EXPECT_EQ(*ours, QString()) << xmlPath.toStdString();
    // Extra check against the reconstruction of the standard's own DTD.
    const QString reference = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/../shared/data/delivery/PHOTO03.DTD"_s;
    if (QFileInfo::exists(reference)) {
        EXPECT_EQ(*xmllintErrors(xmlPath, reference), QString()) << "reconstructed DTD";
    }
}

QString DeliveryFolder::photo(const QString& name, int seed, int size) {
    const QString path = source.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeBytes(path, photoBytes(seed, size));
    return path;
}
