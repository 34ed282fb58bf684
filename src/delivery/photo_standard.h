#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The photo index standards the delivery writes and checks. One table of elements per
// version drives the index writer, the DTD and the check, so the three cannot drift apart.
namespace PhotoStandard {

enum class Version { V03, V05 };

enum class Occurs { One, Optional, Many, OneOrMore };

struct Element {
    QString name;
    int depth;      // photodata is 0
    Occurs occurs;  // within its parent
    bool container; // holds elements rather than text
    int maxBytes;   // longest text in Shift_JIS bytes; 0 for containers
    bool written;   // the index writer puts it into every file, empty when it has no value
};

// The elements in document order, each followed by its descendants.
const QList<Element>& elements(Version version);
// Index of the element in elements(version), or -1.
int find(Version version, const QString& name);
// Indexes of the direct children of element `parent`, in order.
QList<int> children(Version version, int parent);

QString versionCode(Version version);     // "03", "05"
QString dtdName(Version version);         // "PHOTO03.DTD", "PHOTO05.DTD"
QString defaultStandard(Version version); // 適用要領基準 written when none is chosen
// The 適用要領基準 offered for version 05, newest first.
QStringList standards05();
// The 適用要領基準 an index of the version may name.
QStringList standards(Version version);

// The DTD text, lines ended by CR LF, opening with the declaration xmllint needs to read a
// Shift_JIS file.
QString dtdText(Version version);

} // namespace PhotoStandard
