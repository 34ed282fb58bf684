#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// "deliver ALBUM [MORE.dat ...] --to FOLDER": the delivery folder without a window.
namespace DeliveryBatch {

// Returns the process exit status; reasons go to err.
int run(const QStringList& albums, const QString& folder, const QString& programFolder, QTextStream& out,
        QTextStream& err);

} // namespace DeliveryBatch
