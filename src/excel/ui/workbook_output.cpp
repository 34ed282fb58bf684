#include "excel/ui/workbook_output.h"

#include "base/output_choice.h"
#include "workspace/workspace.h"

using namespace Qt::StringLiterals;

QString chooseWorkbookOutput(Prompts& prompts, const Workspace& workspace, const QString& proposedName) {
    return OutputChoice::chooseFile(
        prompts,
        {u"名前を付けて保存"_s, u"Excel ブック (*.xlsx)|*.xlsx"_s, 1, workspace.outputFolder(), proposedName},
        u".xlsx"_s, workspace.outputGuard(), u"確認"_s);
}
