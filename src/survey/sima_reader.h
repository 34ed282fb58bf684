#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// SIMA survey files: one record a line, a three-character code, comma-separated fields. Only
// points ("A01"), parcel headers ("D00") and parcel members ("B01") are read.

struct SimaPoint {
    QString Name; // as written, padding included
    double X = 0, Y = 0, H = 0;
    bool HasHeight = false; // an empty H field is no height, not 0
    int line = 0;           // line of the file, from 1
};

struct SimaParcel {
    QString Name;       // right-trimmed
    int FirstPoint = 1; // 1-based indices into the member table;
    int LastPoint = 0;  // LastPoint < FirstPoint for a parcel without members
    int line = 0;
    int pointCount() const { return LastPoint - FirstPoint + 1; }
};

struct SimaParcelPoint {
    QString ParcelName; // empty before the first "D00"
    QString PointName;  // right-trimmed
    QString MarkerCode; // the PM file's text, "0" for a point without a PM line
    int line = 0;
};

// Right-trimmed point names to the first record (from 1) of that name.
class PointNameIndex {
public:
    void clear() { records_.clear(); }
    void reserve(qsizetype size) { records_.reserve(size); }
    // Keeps the first record of a name: duplicates answer the earliest in the file.
    void add(const QString& name, int record);
    std::optional<int> find(const QString& name) const;
    qsizetype size() const { return records_.size(); }

private:
    QHash<QString, int> records_;
};

// The record number of the point with that name (trailing blanks ignored, leading ones not).
std::optional<int> FindPointByName(const PointNameIndex& index, const QString& name);

// Blanks and tabs cut from the end.
QStringView rightTrimmed(QStringView text);
// The same for a whole string, sharing its text when there is nothing to cut.
QString rightTrimmedString(const QString& text);

// The longest leading number after leading blanks; 0 when there is none.
double leadingNumber(QStringView text);

// Everything read from one SIMA file, in file order.
struct SimaFile {
    QString path;
    QList<SimaPoint> points;
    QList<SimaParcel> parcels;
    QList<SimaParcelPoint> members;
};

namespace SimaReader {

// Texts of the dialogs and commands that read SIMA and PM files.
extern const QString NoParcels; // "画地がありません。"
extern const QString NoParcelsLoaded; // "画地がありません。先ずはSIMAファイルを呼び出してください。"
extern const QString ReadFailed; // headline of a file that could not be read

// The text of a file of which every line is read (the PM file): CP932 or UTF-8, any line ends.
// A byte that cannot be read, a NUL or a line in another encoding than the rest is a failure
// naming the file and its lines, so nothing half-read is ever used.
QString readText(const QString& path);

// One pass over the text fills all three tables.
SimaFile parse(const QString& text);
// Reads and parses; throws AppError naming the file, or the lines read that are no text in
// its encoding (SimaText::read).
SimaFile read(const QString& path);

} // namespace SimaReader

// The loaders of the dialogs, each on a freshly read file.
struct SimaPoints {
    QList<SimaPoint> points;
    PointNameIndex index;
};
SimaPoints LoadSimaPoints(const QString& path);
SimaPoints indexPoints(QList<SimaPoint> points);

struct ParcelTables {
    QList<SimaParcel> parcels;
    QList<SimaParcelPoint> members;
    // No parcel with a member point: the lists refuse it with NoParcels.
    bool listsNoPoint() const;
};
ParcelTables LoadParcels(const QString& path);
ParcelTables parcelTables(const SimaFile& file);
