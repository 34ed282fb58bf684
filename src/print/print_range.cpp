#include "print/print_range.h"

#include "workspace/settings.h"

using namespace Qt::StringLiterals;

const QString PrintRange::Backwards = u"開始ページが終了ページより後ろになっています。印刷しませんでした。"_s;
const QString PrintRange::PrintFailed = u"印刷できませんでした。"_s;

namespace {

int pageNumber(const QString& text) {
    return SettingValue::string(text).toRoundedInt();
}

QString pages(int from, int to) {
    if (from == to) return QString::number(from) + u" 頁"_s;
    return QString::number(from) + u"～"_s + QString::number(to) + u" 頁"_s;
}

} // namespace

void PrintRange::fromTextChanged(const QString& text) {
    const int value = pageNumber(text);
    if (value >= PrintFromPage && value <= PrintToPage) FromPage = value;
}

void PrintRange::toTextChanged(const QString& text) {
    const int value = pageNumber(text);
    ToPage = (value < FromPage || value > PrintToPage) ? PrintToPage : value;
}

QString PrintedPages::text() const {
    if (!stopped) return pages(from, to) + u"をプリンタに送りました。"_s;
    if (last < from) return u"中止しました。プリンタには何も送っていません。"_s;
    QString text = u"中止しました。"_s + pages(from, last) + u"はプリンタに送りました。"_s;
    if (last < to) text += pages(last + 1, to) + u"は送っていません。"_s;
    return text;
}
