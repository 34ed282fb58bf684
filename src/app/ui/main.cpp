#include "app/batch.h"
#include "app/command_line.h"
#include "app/font_substitutes.h"
#include "app/instance_lock.h"
#include "app/program_folder.h"
#include "app/session.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_prompts.h"
#include "app/workspace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
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

int runWindow(int argc, char** argv, const CommandLine& command) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tovenla2"_s);
    installJapaneseFontSubstitutes();
    // The program speaks Japanese whatever the desktop's language: Qt's own buttons too.
    QTranslator qtTranslator;
    if (qtTranslator.load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    const QString programFolder = resolveProgramFolder(QCoreApplication::applicationDirPath());
    QtPrompts prompts;
    InstanceLock lock(programFolder);
    if (!lock.acquire()) {
        prompts.tell(Session::AlreadyRunning, Session::AlreadyRunningTitle, Prompts::Icon::Critical);
        return 1;
    }

    Workspace workspace(programFolder);
    frmMain window(workspace, prompts);
    prompts.setParent(&window);
    window.startUp(command.albumPath);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine command = CommandLine::parse(argumentsOf(argc, argv));
    if (command.mode == CommandLine::Mode::Window) return runWindow(argc, argv, command);

    if (command.drawsPages() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = command.drawsPages()
                                                      ? std::make_unique<QGuiApplication>(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(u"Tovenla2"_s);
    if (command.drawsPages()) installJapaneseFontSubstitutes();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runBatch(command, resolveProgramFolder(QCoreApplication::applicationDirPath()), out, err);
}
