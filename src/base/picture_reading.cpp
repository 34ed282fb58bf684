#include "base/picture_reading.h"

#include "base/file_io.h"
#include "base/picture_limit.h"

#include <QFileInfo>
#include <QLoggingCategory>

using namespace Qt::StringLiterals;

namespace PictureReading {

const QString CannotRead = u"画像を読めません。"_s;

namespace {

// What the file system says before any decoder is asked; empty when the file can be opened.
QString fileReason(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return u"ファイルが見つかりません"_s;
    if (info.isDir()) return u"ファイルではなくフォルダです"_s;
    if (!info.isReadable()) return u"ファイルを読み取る権限がありません"_s;
    if (info.size() == 0) return u"ファイルが空です（0 バイト）"_s;
    return {};
}

} // namespace

QString reason(const QString& path, QImageReader::ImageReaderError error) {
    if (const QString file = fileReason(path); !file.isEmpty()) return file;
    switch (error) {
    case QImageReader::FileNotFoundError:
        return u"ファイルが見つかりません"_s;
    case QImageReader::DeviceError:
        return u"ファイルを読み取れませんでした"_s;
    case QImageReader::UnsupportedFormatError:
        return u"画像ファイルではないか、対応していない形式です"_s;
    case QImageReader::InvalidDataError:
        return u"画像のデータが壊れています"_s;
    case QImageReader::UnknownError:
        break;
    }
    return u"画像として読めません"_s;
}

QString reason(const QString& path) {
    if (const QString file = fileReason(path); !file.isEmpty()) return file;
    QImageReader reader(path);
    if (!PictureLimit::allows(reader)) return PictureLimit::TooLarge;
    if (!reader.canRead()) return reason(path, QImageReader::UnsupportedFormatError);
    // The header reads, so the decoder stopped in the picture's data.
    return reason(path, QImageReader::InvalidDataError);
}

QString failure(const QString& path, const QString& reason) {
    return fileFailure(CannotRead, path, reason);
}

void silenceDecoderWarnings() {
    // "qt.gui.imageio" carries libpng's warnings, "qt.gui.imageio.jpeg" libjpeg's.
    QLoggingCategory::setFilterRules(u"qt.gui.imageio*=false"_s);
}

} // namespace PictureReading
