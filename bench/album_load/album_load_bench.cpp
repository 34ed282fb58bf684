// Loading and clearing a full album in the main window, against parsing the same file alone.
// The window must add no per-row cost: the target is at most twice the parse time.

#include "album/album_commands.h"
#include "album/album_file.h"
#include "base/prompts.h"
#include "shell/ui/main_window.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int Rows = 32767;
constexpr int Runs = 5;

// A prompt that answers every question with Yes, so 新規 clears without stopping.
class YesPrompts : public Prompts {
public:
    Answer message(const Message&) override { return Answer::Yes; }
    QString openFile(const FileRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return {}; }
    std::optional<QString> printerSetup(const QString&) override { return std::nullopt; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFont(const QString&) override { return std::nullopt; }
};

QList<AlbumRow> makeRows() {
    QList<AlbumRow> rows;
    rows.reserve(Rows);
    for (int i = 1; i <= Rows; ++i) {
        AlbumRow row;
        row.info = u"No.%1\r\n境界点 K%1\r\n近景\r\n工区　第3工区\r\n\r\n\r\n\r\n2026年12月7日\r\n"_s.arg(i);
        row.number = QString::number(i);
        row.path = u"C:\\写真\\現場\\DSC%1.JPG"_s.arg(i, 5, 10, QChar(u'0'));
        rows << row;
    }
    return rows;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Lets the view lay out and paint what the command changed.
void settle(QWidget& window) {
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString album = dir.filePath(u"big.dat"_s);
    AlbumFile::save(album, makeRows());

    Workspace workspace(dir.path());
    YesPrompts prompts;
    frmMain window(workspace, prompts);
    window.startUp({});
    workspace.AlbumMaxRows = Rows; // the largest capacity the settings allow
    workspace.SS1.setMaxRows(Rows);
    window.resize(1280, 900);
    window.show();
    settle(window);

    QList<double> parse, load, clear;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QList<AlbumRow> rows = AlbumFile::load(album, Rows);
        parse << timer.nsecsElapsed() / 1e6;
        if (rows.size() != Rows) return 1;

        timer.restart();
        AlbumCommands::OpenAlbumFile(workspace, prompts, album);
        settle(window);
        load << timer.nsecsElapsed() / 1e6;
        if (workspace.AlbumRowCount != Rows) return 1;

        window.sheetView()->scrollToBottom();
        settle(window);
        timer.restart();
        workspace.SheetModified = 1;
        AlbumCommands::NewAlbum(workspace, prompts);
        settle(window);
        clear << timer.nsecsElapsed() / 1e6;
        if (workspace.AlbumRowCount != 0) return 1;
    }
    const double p = median(parse);
    QTextStream out(stdout);
    out << u"album of "_s << Rows << u" rows, median of "_s << Runs << u" runs\n"_s;
    out << u"  parse the file alone:  "_s << p << u" ms\n"_s;
    out << u"  load in the window:    "_s << median(load) << u" ms  ("_s << median(load) / p
        << u"x parse)\n"_s;
    out << u"  clear in the window:   "_s << median(clear) << u" ms  ("_s << median(clear) / p
        << u"x parse)\n"_s;
    return 0;
}
