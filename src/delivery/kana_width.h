#pragma once

#include "workspace/album_sheet.h"

#include <QList>
#include <QString>

// Half-width katakana, which the delivery refuses, as the full-width characters they stand for.
namespace KanaWidth {

// ｶﾞ becomes ガ, ﾊﾟ パ: a sound mark joins the kana before it when the pair has one character.
QString toFullWidth(const QString& text);

// The rows with information lines 9..19 converted; other lines stay as typed. Returns the
// number of rows changed.
int convertDeliveryLines(QList<AlbumRow>& rows);

} // namespace KanaWidth
