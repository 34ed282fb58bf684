#pragma once

#include <QString>
#include <QStringList>

class Settings;

// What the CD label dialog shows and keeps: the registry kind, the eleven label rows, the
// start position of the label on the sheet and the layout frame (settings texts 130 to 141
// and 147 to 149). The preview reads the same texts when it draws the label page.
struct CdLabelEntries {
    static constexpr int RowCount = 11;
    enum Registry : int { TECRIS = 0, CORINS = 1 };

    Registry registry = TECRIS;
    QStringList rows;       // label rows 1 to 11
    QString startX, startY; // millimetres, as typed
    bool frame = false;

    // A kind that names neither option (a hand-edited file) shows as TECRIS.
    static CdLabelEntries load(const Settings& settings);
    // The start positions are stored as the numbers their texts begin with.
    void store(Settings& settings) const;
};

// The number a start position text begins with, in plain decimal: "12mm" gives "12", a text
// without a leading number "0". Full-width digits, as a Japanese input method types them,
// count as digits.
QString startPositionValue(const QString& typed);
