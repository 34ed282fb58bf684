#include "base/batch_command.h"
#include "base/instance_lock.h"
#include "base/picture_reading.h"
#include "base/program_folder.h"
#include "shell/batch.h"
#include "shell/command_line.h"
#include "shell/display_check.h"
#include "shell/font_substitutes.h"
#include "shell/session.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_prompts.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int runWindow(int argc, char** argv) {
    if (!DisplayCheck::displayLikelyAvailable(argumentsOf(argc, argv))) {
        std::fputs(DisplayCheck::NoDisplay.toLocal8Bit().constData(), stderr);
        return 1;
    }
    DisplayCheck::explainPlatformFailures();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tovenla2"_s);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(u"tovenla2"_s);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/%1x%1/tovenla2.png"_s.arg(size));
    QApplication::setWindowIcon(icon);
    installJapaneseFontSubstitutes();
    PictureReading::silenceDecoderWarnings();
    // The program speaks Japanese whatever the desktop's language: Qt's own buttons too.
    QTranslator qtTranslator;
    if (qtTranslator.load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
    const AlbumArgument album = resolveAlbumArgument(QApplication::arguments().mid(1));

    const ProgramFolder folder = resolveProgramFolder(QCoreApplication::applicationDirPath());
    QtPrompts prompts;
    const auto refuse = [&](const QString& text, const QString& title) {
        prompts.tell(text, title, Prompts::Icon::Critical);
        QTextStream(stderr) << QString(text).replace(u"\r\n"_s, u"\n"_s) << u'\n';
        return 1;
    };
    if (!folder.problem.isEmpty())
        return refuse(programFolderFailure(folder.path, folder.problem), u"エラー"_s);
    InstanceLock lock(folder.path);
    switch (lock.acquire()) {
    case InstanceLock::Result::Acquired:
        break;
    case InstanceLock::Result::HeldByAnotherRun:
        return refuse((QStringList{Session::AlreadyRunning} << lock.holderLines()).join(u"\r\n"_s),
                      Session::AlreadyRunningTitle);
    case InstanceLock::Result::Failed:
        return refuse(programFolderFailure(folder.path, u"ロックファイルを作成できません。"_s), u"エラー"_s);
    }

    Workspace workspace(folder.path);
    frmMain window(workspace, prompts);
    prompts.setParent(&window);
    window.startUp(album.path);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine command = CommandLine::parse(argumentsOf(argc, argv));
    if (command.mode == CommandLine::Mode::Window) return runWindow(argc, argv);

    const bool drawsPages = command.command && command.command->drawsPages;
    if (drawsPages && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = drawsPages ? std::make_unique<QGuiApplication>(argc, argv)
                                                             : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"Tovenla2"_s);
    if (drawsPages) installJapaneseFontSubstitutes();
    PictureReading::silenceDecoderWarnings();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const ProgramFolder folder =
        resolveProgramFolder(QCoreApplication::applicationDirPath(), ProgramFolder::Use::Commands);
    if (command.mode == CommandLine::Mode::Batch && !folder.problem.isEmpty()) {
        err << programFolderFailure(folder.path, folder.problem) << u'\n';
        return 1;
    }
    return runBatch(command, folder.path, out, err);
}
