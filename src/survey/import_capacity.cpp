#include "survey/import_capacity.h"

using namespace Qt::StringLiterals;

namespace ImportCapacity {

const QString LastRowReached = u"最終行に達しましたのでインポートをここで終了します。"_s;

QString message(int pointsLeftOut) {
    return LastRowReached + u"\r\n取り込まれなかった点数："_s + QString::number(pointsLeftOut);
}

QString commandLineNote(int pointsLeftOut, int maxRows) {
    return message(pointsLeftOut).replace(u"\r\n"_s, u"\n"_s) + u"（アルバムの容量 "_s +
           QString::number(maxRows) + u" 行）"_s;
}

} // namespace ImportCapacity
