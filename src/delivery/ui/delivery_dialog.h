#pragma once

#include <QDialog>
#include <QList>

#include "delivery/delivery_request.h"
#include "delivery/finding.h"

class CheckResults;
struct DeliveryResult;
class QComboBox;
class QRadioButton;
class QTabWidget;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTreeView;
class Prompts;
class Workspace;

// "電子納品": the folder for PHOTO, further albums to export with the sheet, the remembered
// project items, and the export itself.
class frmXML : public QDialog {
    Q_OBJECT
public:
    frmXML(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    // Files dropped onto List1, as the file manager hands them over.
    void addDroppedFiles(const QList<QUrl>& urls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFolderTab();
    QWidget* buildStandardBox(QWidget* page);
    QWidget* buildItemsTab(const QStringList& labels, const char* name, int firstEntry(int),
                           QList<QComboBox*>& boxes);
    void Form_Load();
    void DriveX_Change(int index);
    void DirX_Change(const QString& path);
    void showFolder(const QString& path);
    void Command1_Click();
    void Command2_Click();
    void cmdOK_Click();
    void Command4_Click();
    PhotoStandard::Version chosenVersion() const;
    void storeChoice();
    DeliveryRequest request();
    void showFindings(const QList<Finding>& findings);
    // The warnings of a version 03 export, listed and asked about before anything is written.
    // Nothing was written: what the folder still holds.
    void tellStopped(const QString& folder);
    bool passWarnings(const QList<Finding>& findings);
    void reportDone(const DeliveryResult& result);
    void rememberHistories();

    Workspace& workspace_;
    Prompts& prompts_;
    QComboBox* DriveX_ = nullptr;
    QTreeView* DirX_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QLabel* LPath_ = nullptr;
    QListWidget* File1_ = nullptr;
    QListWidget* List1_ = nullptr;
    QLabel* FLname_ = nullptr;
    QList<QComboBox*> Cmb1_;
    QList<QComboBox*> Cmb2_;
    QTabWidget* SSTab1_ = nullptr;
    QRadioButton* Option05_ = nullptr;
    QRadioButton* Option03_ = nullptr;
    QComboBox* Cmb3_ = nullptr; // 適用要領基準
    QComboBox* Cmb4_ = nullptr; // 未指定の提出頻度写真
    CheckResults* results_ = nullptr;
};
