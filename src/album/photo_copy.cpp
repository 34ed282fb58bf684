#include "album/photo_copy.h"

#include "album/photo_paths.h"
#include "app/album_sheet.h"
#include "app/safe_file_name.h"
#include "app/shared_routines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace PhotoCopy {

const QString ActivityText = u"画像コピー中"_s;
const QString FolderTitle = u"コピー先のフォルダーを指示。ファイル名は無視します。"_s;
const QString CommandFailed =
    u"コピー元写真が存在しないか他の理由により為処理を中断しました。原因を調査して下さい。"_s;

namespace {

// The copy replaces an existing file only once it is complete.
QString copyFile(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return u"コピー元を読めません（"_s + in.errorString() + u"）"_s;
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) return u"コピー先に書けません（"_s + out.errorString() + u"）"_s;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return u"コピー元を読めません（"_s + in.errorString() + u"）"_s;
        }
        if (out.write(chunk) != chunk.size()) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return u"コピー先に書けません（"_s + reason + u"）"_s;
        }
    }
    if (!out.commit()) return u"コピー先に書けません（"_s + out.errorString() + u"）"_s;
    return {};
}

QString rowLabel(int row) {
    return u"  行 "_s + QString::number(row);
}

} // namespace

QString ruleName(const QString& info, const QString& photoPath) {
    const FieldBuffer lines = SplitLines(info);
    const QString built = lines(2) + lines(1) + lines(8);
    if (!built.isEmpty()) return built + u".jpg"_s;
    return PhotoPaths::fileName(photoPath);
}

Target target(const QString& builtName, bool splitByHyphen) {
    Target result;
    result.name = SafeFileName::make(builtName);
    result.adjusted = result.name != builtName;
    if (splitByHyphen) {
        const qsizetype hyphen = result.name.indexOf(u'-');
        if (hyphen > 0) {
            const QString before = result.name.left(hyphen);
            result.subFolder = SafeFileName::make(before);
            result.adjusted = result.adjusted || result.subFolder != before;
        }
    }
    return result;
}

Summary copyRows(const AlbumSheet& sheet, int first, int last, const QString& folder, bool splitByHyphen,
                 const Progress& progress) {
    Summary summary;
    QHash<QString, int> rowOfDestination;
    const QDir base(folder);
    for (int r = first; r <= last; ++r) {
        const QString source = sheet.text(r, AlbumColumn::Path);
        const QString built = ruleName(sheet.text(r, AlbumColumn::Info), source);
        const Target where = target(built, splitByHyphen);
        const QString relative = where.subFolder.isEmpty() ? where.name : where.subFolder + u'/' + where.name;
        const QString destination = base.filePath(relative);
        const auto skip = [&](const QString& reason) { summary.skipped.append({r, reason}); };

        if (source.isEmpty()) {
            ++summary.rowsWithoutPhoto;
        } else if (!QFileInfo(source).isFile()) {
            skip(u"コピー元の写真がありません："_s + source);
        } else if (built.isEmpty()) {
            skip(u"コピー先の名前を作れません"_s);
        } else if (QFileInfo(source).canonicalFilePath() == QFileInfo(destination).canonicalFilePath()) {
            skip(u"コピー元とコピー先が同じファイルです："_s + relative);
        } else if (!base.mkpath(QFileInfo(destination).path())) {
            skip(u"フォルダーを作れません："_s + where.subFolder);
        } else if (const QString failure = copyFile(source, destination); !failure.isEmpty()) {
            skip(failure);
        } else {
            ++summary.copied;
            if (where.adjusted) summary.adjusted.append({r, relative});
            if (const auto earlier = rowOfDestination.constFind(destination);
                earlier != rowOfDestination.cend()) {
                summary.replaced.append({r, *earlier, relative});
                --summary.copied; // the earlier copy is gone
            }
            rowOfDestination.insert(destination, r);
        }
        if (progress) progress(r - first + 1);
    }
    return summary;
}

QString Summary::text() const {
    QStringList lines;
    lines << u"コピーした写真："_s + QString::number(copied) + u" 枚"_s;
    if (rowsWithoutPhoto > 0) lines << u"写真のない行："_s + QString::number(rowsWithoutPhoto) + u" 行"_s;
    if (!skipped.isEmpty()) {
        lines << u"コピーできなかった行："_s;
        for (const Skipped& s : skipped)
            lines << rowLabel(s.row) + u"："_s + s.reason;
    }
    if (!replaced.isEmpty()) {
        lines << u"前の行と同じ名前になり、そのコピーを置き換えた行："_s;
        for (const Replaced& s : replaced)
            lines << rowLabel(s.row) + u"（行 "_s + QString::number(s.earlierRow) + u" と同じ "_s +
                         s.relativePath + u"）"_s;
    }
    if (!adjusted.isEmpty()) {
        lines << u"名前に使えない文字を「_」に置き換えてコピーした行："_s;
        for (const Adjusted& s : adjusted)
            lines << rowLabel(s.row) + u"："_s + s.relativePath;
    }
    return lines.join(u'\n');
}

} // namespace PhotoCopy
