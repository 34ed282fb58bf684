#include "shell/display_check.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace DisplayCheck {

const QString NoDisplay = u"画面（ディスプレイ）が見つかりません。\n"
                          u"Tovenla2 のウィンドウはデスクトップのセッションの中で起動して下さい"
                          u"（画面のないマシンでは xvfb-run tovenla2 で起動できます）。\n"
                          u"画面なしで使える機能は tovenla2 --help で一覧できます。\n"_s;

bool displayLikelyAvailable(const QStringList& rawArguments) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
    if (rawArguments.contains(u"-platform"_s)) return true;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

namespace {

QtMessageHandler previousHandler = nullptr;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && message.contains(u"platform plugin"_s)) {
        std::fputs(NoDisplay.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (previousHandler) previousHandler(type, context, message);
}

} // namespace

void explainPlatformFailures() {
    previousHandler = qInstallMessageHandler(handler);
}

} // namespace DisplayCheck
