#include "xlsx/ui/desktop_opener.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
