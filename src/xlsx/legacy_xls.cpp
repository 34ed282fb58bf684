#include "xlsx/legacy_xls.h"

#include "base/app_error.h"
#include "xlsx/compound_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace LegacyXls {

namespace {

// The converter takes anything for a table of text, so a broken book would come back as a
// workbook of one sheet of garbage: the book's own container is checked first.
QString bookProblem(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return u"読み込めません。"_s;
    const auto names = CompoundFile::entryNames(file.readAll());
    if (!names) return u"壊れているか、Excel のブックではありません。"_s;
    if (CompoundFile::isEncryptedPackage(*names)) return u"暗号化されています。"_s;
    if (!names->contains(u"Workbook"_s) && !names->contains(u"Book"_s))
        return u"壊れているか、Excel のブックではありません。"_s;
    return {};
}

} // namespace

bool isLegacy(const QString& path) {
    return QFileInfo(path).suffix().compare(u"xls"_s, Qt::CaseInsensitive) == 0;
}

QString convertedCopy(const QString& path) {
    const QFileInfo info(path);
    const auto refusalFor = [&](const QString& reason) -> QString {
        return u"Excel 97-2003 形式（.xls）のブックを変換できませんでした。\r\n"_s +
               QDir::toNativeSeparators(info.absoluteFilePath()) + u"\r\n"_s + reason +
               u"Excel ブック（.xlsx）で保存したものを指定して下さい。"_s;
    };
    const QString refusal = refusalFor({});
    if (!info.isFile()) throw AppError(refusal);
    if (const QString problem = bookProblem(path); !problem.isEmpty())
        throw AppError(refusalFor(problem + u"\r\n"_s));
    const QByteArray key = (info.absoluteFilePath() + u'|' + QString::number(info.size()) + u'|' +
                            QString::number(info.lastModified().toMSecsSinceEpoch()))
                               .toUtf8();
    QString cacheFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cacheFolder.isEmpty()) cacheFolder = QDir::tempPath() + u"/tovenla2-cache"_s;
    cacheFolder += u"/xls"_s;
    const QString cached =
        cacheFolder + u'/' +
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) + u".xlsx"_s;
    if (QFileInfo(cached).isFile()) return cached;

    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty()) throw AppError(refusal + u"\r\n（LibreOffice が見つかりません）"_s);
    QTemporaryDir work;
    if (!work.isValid() || !QDir().mkpath(cacheFolder)) throw AppError(refusal);
    // A copy with a plain name: the converter names its output after the input.
    const QString input = work.filePath(u"book.xls"_s);
    if (!QFile::copy(info.absoluteFilePath(), input)) throw AppError(refusal);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(soffice, {u"-env:UserInstallation=file://"_s + work.filePath(u"profile"_s), u"--headless"_s,
                            u"--convert-to"_s, u"xlsx"_s, u"--outdir"_s, work.filePath(u"out"_s), input});
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        throw AppError(refusal);
    }
    const QString output = work.filePath(u"out/book.xlsx"_s);
    if (!QFileInfo(output).isFile()) throw AppError(refusal);
    QFile::remove(cached);
    if (!QFile::copy(output, cached)) throw AppError(refusal);
    return cached;
}

} // namespace LegacyXls
