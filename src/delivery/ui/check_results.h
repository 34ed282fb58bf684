#pragma once

#include "delivery/finding.h"

#include <QList>
#include <QWidget>

class QTableWidget;
class Prompts;
class Workspace;

// The findings of the delivery check: one line a finding (行・ファイル, 項目, 内容). A double
// click opens the information of a sheet row; rows of listed albums are only named.
class CheckResults : public QWidget {
    Q_OBJECT
public:
    CheckResults(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    void show(const QList<Finding>& findings);
    const QList<Finding>& findings() const { return findings_; }

signals:
    // The sheet was changed from the list; the findings may be out of date.
    void sheetChanged();

private:
    void openRow(int line);
    void convertKana();

    Workspace& workspace_;
    Prompts& prompts_;
    QTableWidget* SSCheck_ = nullptr;
    QList<Finding> findings_;
};
