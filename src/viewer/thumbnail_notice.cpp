#include "viewer/thumbnail_notice.h"

#include "base/picture_limit.h"
#include "base/row_ranges.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace ThumbnailNotice {

const QString Title = u"確認"_s;

QString text(const QList<int>& stoppedRows, const QList<int>& tooLargeRows) {
    QStringList parts;
    if (!stoppedRows.isEmpty())
        parts << u"サムネイルの作成を中止しました。サムネイルのない行："_s +
                     QString::number(stoppedRows.size()) + u" 行（"_s + describeRows(stoppedRows) + u"）"_s;
    if (!tooLargeRows.isEmpty())
        parts << u"次の行の写真は"_s + PictureLimit::TooLarge + u"。サムネイルはありません。\n行 "_s +
                     describeRows(tooLargeRows);
    return parts.join(u"\n\n"_s);
}

} // namespace ThumbnailNotice
