#include "xlsx/workbook_opener.h"

#include "base/prompts.h"

#include <QDir>

using namespace Qt::StringLiterals;

void showWrittenWorkbook(Prompts& prompts, WorkbookOpener& opener, const QString& path,
                         const QStringList& notes) {
    // Opened first: the message waits beside the workbook instead of keeping it back.
    QStringList lines{opener.open(path) ? u"ブックを保存しました。"_s
                                        : u"ブックを保存しましたが、開くプログラムが見つかりません。"_s,
                      QDir::toNativeSeparators(path)};
    if (!notes.isEmpty()) lines << QString() << notes;
    prompts.tell(lines.join(u"\r\n"_s), u"確認"_s, Prompts::Icon::Information);
}
