#pragma once

#include <QList>
#include <QString>

// What a thumbnail run tells the user when it ends, in one message: the rows a stop left
// without a picture and the rows whose photos were refused for their size.
namespace ThumbnailNotice {

extern const QString Title; // "確認"

// Empty when there is nothing to say.
QString text(const QList<int>& stoppedRows, const QList<int>& tooLargeRows);

} // namespace ThumbnailNotice
