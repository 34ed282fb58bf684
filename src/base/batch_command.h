#pragma once

#include "base/app_error.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

// One headless sub-command: its name, its lines of the usage text and what it runs. Each area
// declares its own next to its logic; app/batch only lists them.
struct BatchCommand {
    QString name;
    QString usage; // its lines of the usage text, each starting "  tovenla2 NAME"
    // The words after the name. Exit status: 0 done, 1 error, 3 done with something left out.
    // Throws AppError for a failure, BatchUsageError for words it cannot take.
    int (*run)(const QStringList& arguments, const QString& programFolder, QTextStream& out,
               QTextStream& err);
    // Pages drawn with fonts need the GUI side of Qt (offscreen: no display is needed).
    bool drawsPages = false;
};

class BatchUsageError : public AppError {
public:
    using AppError::AppError;
};

// "--no-blackboard" wherever it stands among a command's words: the photos the command puts
// on rows keep the lines their paths give, without their blackboard items.
inline const QString NoBlackboardOption = QStringLiteral("--no-blackboard");

// The words without every `option`; `given` tells whether there was one.
inline QStringList withoutOption(const QStringList& arguments, const QString& option, bool& given) {
    QStringList rest = arguments;
    given = rest.removeAll(option) > 0;
    return rest;
}
