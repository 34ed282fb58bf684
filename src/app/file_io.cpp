#include "app/file_io.h"

#include "app/app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

QString fileFailure(const QString& headline, const QString& path, const QString& reason) {
    return headline + u'\n' + QDir::toNativeSeparators(path) + u'\n' + reason;
}

QByteArray readWholeFile(const QString& path, const QString& headline) {
    if (!QFileInfo::exists(path))
        throw AppError(fileFailure(headline, path, u"ファイルが見つかりません。"_s));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw AppError(fileFailure(headline, path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw AppError(fileFailure(headline, path, file.errorString()));
    return bytes;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& headline) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw AppError(fileFailure(headline, path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw AppError(fileFailure(headline, path, reason));
    }
    if (!file.commit()) throw AppError(fileFailure(headline, path, file.errorString()));
}
