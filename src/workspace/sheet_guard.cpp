#include "workspace/sheet_guard.h"

#include "base/prompts.h"
#include "workspace/workspace.h"

using namespace Qt::StringLiterals;

namespace SheetGuard {

const QString NoDataLong = u"対象データがありません。データを入力するか呼出しを行って下さい。"_s;
const QString NoDataShort = u"対象データがありません。"_s;

bool SheetHasData(Workspace& workspace, Prompts& prompts, Text text) {
    if (workspace.UpdateRowTotal() > 0) return true;
    prompts.tell(text == Text::Long ? NoDataLong : NoDataShort, u"確認"_s, Prompts::Icon::Question);
    return false;
}

} // namespace SheetGuard
