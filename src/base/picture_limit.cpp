#include "base/picture_limit.h"

#include <QImageReader>

#include <mutex>

using namespace Qt::StringLiterals;

namespace PictureLimit {

const QString TooLarge = u"画素数が多すぎるため読み込みません"_s;

bool allows(QImageReader& reader) {
    // The decoders' ceiling is process-wide; room for a full decode of the largest picture allowed.
    static std::once_flag ceilingSet;
    std::call_once(ceilingSet,
                   [] { QImageReader::setAllocationLimit(int(MaxPixels * 4 / (1024 * 1024)) + 1); });
    const QSize size = reader.size();
    return !size.isValid() || qint64(size.width()) * size.height() <= MaxPixels;
}

} // namespace PictureLimit
