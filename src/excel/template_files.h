#pragma once

#include <QString>

// The template workbooks: an office's own copy beside the program wins over the shipped one.
namespace TemplateFiles {

// programFolder/NAME.xlsx, programFolder/NAME.xls, then the shipped NAME.xlsx; empty when none.
QString find(const QString& programFolder, const QString& name);

// Folders holding the shipped templates, in the order they are tried.
QStringList shippedFolders();

} // namespace TemplateFiles
