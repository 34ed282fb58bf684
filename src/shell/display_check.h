#pragma once

#include <QString>
#include <QStringList>

// The window needs a display; without one Qt ends the program with a message about its
// platform plugin that tells a user nothing. These say it plainly instead.
namespace DisplayCheck {

extern const QString NoDisplay;

// False when it is certain that no display can be reached: no platform chosen (environment
// or "-platform") and, on X11/Wayland systems, neither DISPLAY nor WAYLAND_DISPLAY set.
bool displayLikelyAvailable(const QStringList& rawArguments);

// Installs a message handler that turns Qt's fatal platform-plugin failure into NoDisplay on
// stderr and exit status 1.
void explainPlatformFailures();

} // namespace DisplayCheck
