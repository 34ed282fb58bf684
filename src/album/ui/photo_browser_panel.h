#pragma once

#include <QHash>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QImage;
class QListWidget;
class QListWidgetItem;
class QTableWidget;
class Prompts;
class Workspace;

// The left side of the main window: drive list DriveM, folder list DirM, file list FileM,
// the preview box Check1 with its preview SS4, and Picture4.
class PhotoBrowserPanel : public QWidget {
    Q_OBJECT
public:
    PhotoBrowserPanel(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    // Shows the user's home folder on its volume.
    void start();
    // Switches the drive list; a drive that cannot be shown is reported and the previous
    // one stays. False on failure.
    bool setDrive(const QString& root);
    // Shows folder in the folder and file lists. False (and nothing changed) when it cannot
    // be read.
    bool setFolder(const QString& folder);

    QString folder() const;
    // The selected names of the file list, in list order (not the order of selection).
    QStringList selectedFileNames() const;
    QCheckBox* previewCheck() const { return Check1_; }

Q_SIGNALS:
    // Status panel 3: "画像総数=" and the number of listed files.
    void fileCountChanged(const QString& panelText);
    // A double-click on a file of the list: its full path, for the full-screen view.
    void fileOpened(const QString& path);

private:
    void fillFolderList();
    void fillFileList();
    void showPreview(QListWidgetItem* item);
    void setPreview(const QImage& image, const QString& note);
    void reportUnreadable(const QString& what);

    Workspace& workspace_;
    Prompts& prompts_;
    QComboBox* DriveM_ = nullptr;
    QListWidget* DirM_ = nullptr;
    QListWidget* FileM_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QTableWidget* SS4_ = nullptr;
    QFrame* Picture4_ = nullptr;
    QHash<QString, QString> folderOfDrive_; // each drive's current folder
};
