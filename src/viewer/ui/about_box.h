#pragma once

#include <QDialog>

// The program's title, version, contact and legal notice. Closing it, by "OK" or the close
// box, only hides it: the window is kept for the whole run.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static const QString ApplicationTitle;
    static const QString ContactText;
    static const QString LegalNotice;

    explicit frmAbout(QWidget* parent = nullptr);

    // "バージョン  " with major "." minor and revision run together: 2.0.3 reads 2.03.
    static QString versionCaption(const QString& version);
};
