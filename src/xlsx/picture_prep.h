#pragma once

#include "base/progress.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

// Photos made ready for a workbook: decoded once at reduced size for their frame, turned
// upright, and encoded once.
struct PreparedPicture {
    QByteArray bytes;
    QString extension; // "jpeg", "png" or "gif"
    QString error;     // why the photo could not be used; empty when it could
};

struct PictureJob {
    QString path;
    QSize framePixels; // the frame at the workbook's resolution
};

// One photo: never enlarged; a JPEG or GIF already small enough and upright goes in unchanged;
// a larger GIF becomes PNG, everything else JPEG of quality 85.
PreparedPicture preparePicture(const PictureJob& job);

// Many photos on worker threads, reporting how many are done from the calling thread. A stop
// ends the workers before Cancelled goes on.
QList<PreparedPicture> preparePictures(const QList<PictureJob>& jobs, int threads, const Progress& progress);

// The frame of a rectangle in points at about 220 dots an inch.
QSize framePixels(double widthPoints, double heightPoints);
