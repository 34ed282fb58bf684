#include "print/print_range.h"

#include "workspace/settings.h"

using namespace Qt::StringLiterals;

const QString PrintRange::Backwards = u"開始ページが終了ページより後ろになっています。印刷しませんでした。"_s;
const QString PrintRange::PrintFailed = u"印刷できませんでした。"_s;

namespace {

int pageNumber(const QString& text) {
    return SettingValue::string(text).toRoundedInt();
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
