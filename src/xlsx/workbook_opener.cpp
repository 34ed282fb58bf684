#include "xlsx/workbook_opener.h"

#include "base/prompts.h"

#include <QDir>

using namespace Qt::StringLiterals;

void showWrittenWorkbook(Prompts& prompts, WorkbookOpener& opener, const QString& path,
                         const QStringList& notes) {
    const QString title = u"確認"_s;
    if (!notes.isEmpty()) prompts.tell(notes.join(u"\r\n"_s), title, Prompts::Icon::Information);
    if (!opener.open(path))
        prompts.tell(u"ブックを保存しましたが、開くプログラムが見つかりません。\r\n"_s +
                         QDir::toNativeSeparators(path),
                     title, Prompts::Icon::Information);
}
