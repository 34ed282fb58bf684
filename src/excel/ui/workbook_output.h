#pragma once

#include <QString>

class Prompts;
class Workspace;

// The save dialog of the workbook reports: in the workspace's output folder under the proposed
// name, ".xlsx" added, never over the open album or its photos, asking before an existing
// file is replaced. Empty when cancelled.
QString chooseWorkbookOutput(Prompts& prompts, const Workspace& workspace, const QString& proposedName);
