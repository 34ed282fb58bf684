// Makes the guide's screenshots from the real windows, offscreen at 1024×768, with a small
// album drawn on the spot: make_screenshots IMAGE_FOLDER WORK_FOLDER.
#include "sample_album.h"

#include "album/album_file.h"
#include "album/ui/photo_info_dialog.h"
#include "base/prompts.h"
#include "delivery/ui/delivery_dialog.h"
#include "excel/ui/album_excel_dialog.h"
#include "print/ui/preview_window.h"
#include "settings/ui/settings_dialog.h"
#include "shell/font_substitutes.h"
#include "shell/ui/main_window.h"
#include "survey/ui/classified_import_dialog.h"
#include "survey/ui/parcel_import_dialog.h"
#include "workspace/workspace.h"
#include "xlsx/workbook_opener.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTableView>
#include <QTextStream>
#include <QThreadPool>
#include <QTranslator>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Nobody is there to answer: every question takes its default and no file is chosen.
class UnattendedPrompts : public Prompts {
public:
    Answer message(const Message& message) override {
        if (message.defaultAnswer) return *message.defaultAnswer;
        return message.buttons == Buttons::YesNo || message.buttons == Buttons::YesNoCancel ? Answer::Yes
                                                                                            : Answer::Ok;
    }
    QString openFile(const FileRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return {}; }
    std::optional<QString> printerSetup(const QString&) override { return std::nullopt; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFont(const QString&) override { return std::nullopt; }
};

struct NoSpreadsheet : WorkbookOpener {
    bool open(const QString&) override { return true; }
};

// Lets layouts, queued calls and the thumbnail workers finish before a picture is taken.
void settle() {
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QThreadPool::globalInstance()->waitForDone();
    }
}

bool shoot(QWidget& window, const QString& file) {
    window.show();
    settle();
    const bool saved = window.grab().save(file);
    if (!saved) QTextStream(stderr) << file << u": cannot be written\n"_s;
    // Hidden, not closed: closing a window may save or ask, and nobody made changes to keep.
    window.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        QTextStream(stderr) << u"usage: make_screenshots IMAGE_FOLDER WORK_FOLDER\n"_s;
        return 1;
    }
    const QString images = QString::fromLocal8Bit(argv[1]);
    QDir work(QString::fromLocal8Bit(argv[2]));
    work.removeRecursively();
    const QString photos = work.filePath(u"home/写真/現場"_s);
    if (!QDir().mkpath(photos) || !QDir().mkpath(work.filePath(u"program"_s)) || !QDir().mkpath(images))
        return 1;
    // The photo browser starts in the home folder: make it the sample's, whoever builds.
    qputenv("HOME", work.filePath(u"home"_s).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tovenla2"_s);
    installJapaneseFontSubstitutes();
    QTranslator qtTranslator;
    if (qtTranslator.load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Workspace workspace(work.filePath(u"program"_s));
    UnattendedPrompts prompts;
    NoSpreadsheet opener;
    frmMain window(workspace, prompts);
    window.startUp({});
    window.resize(1024, 768);
    const QTableView& sheet = *window.sheetView();
    const QList<AlbumRow> rows = SampleAlbum::make(photos, {sheet.columnWidth(0), sheet.rowHeight(0)});
    const QString album = QDir(photos).filePath(u"工事写真.dat"_s);
    AlbumFile::save(album, rows);
    workspace.SS1.setRows(rows);
    workspace.AlbumFilePath = album;
    workspace.UpdateRowTotal();

    bool ok = true;
    const auto take = [&](const QString& name, const std::function<QDialog*()>& make) {
        QDialog* dialog = make();
        ok = shoot(*dialog, QDir(images).filePath(name)) && ok;
        delete dialog;
    };
    window.show();
    settle();
    ok = window.grab().save(QDir(images).filePath(u"main.png"_s)) && ok;
    take(u"photo_info.png"_s, [&] { return new frmPIC(workspace, prompts, 1, &window); });
    take(u"preview.png"_s, [&] { return new PVIEW(workspace, prompts, PreviewDocument::Album, &window); });
    take(u"excel.png"_s, [&] { return new EXOUTDialog(workspace, prompts, opener, &window); });
    take(u"delivery.png"_s, [&] { return new frmXML(workspace, prompts, &window); });
    take(u"sima.png"_s, [&] { return new DialogSIMA(workspace, prompts, &window); });
    take(u"classified.png"_s, [&] { return new DialogImp(workspace, prompts, &window); });
    take(u"settings.png"_s, [&] { return new frmJoken(workspace, prompts, &window); });
    return ok ? 0 : 1;
}
