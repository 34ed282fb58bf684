#pragma once

#include "base/prompts.h"

#include <QString>

class OutputGuard;

// The save dialog of every window that writes a file the user names: it opens in the
// proposed folder with the proposed name, adds the type's extension when the name typed has
// none or one its filter does not offer ("表.xlsx" saved as a PDF is "表.xlsx.pdf", never the
// workbook), refuses a file the guard keeps and asks before replacing an existing file.
// Refusing or answering No shows the dialog again.
namespace OutputChoice {

extern const QString ReplaceQuestion; // "…は既に存在します。\r\n上書きしますか？"

// The path with extension (".xlsx") added when its name has none.
QString withExtension(const QString& path, const QString& extension);

// The path with extension added unless its name ends in one that the dialog filter
// ("desc|*.pdf") offers; a filter offering "*.*" takes any extension.
QString withFittingExtension(const QString& path, const QString& extension, const QString& filter);

// The chosen path, or empty when the user cancels. messageTitle titles the refusal and the
// question.
QString chooseFile(Prompts& prompts, Prompts::FileRequest request, const QString& extension,
                   const OutputGuard& guard, const QString& messageTitle);

} // namespace OutputChoice
