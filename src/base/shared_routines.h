#pragma once

#include <QString>
#include <QStringList>

// The small text routines every command uses. They take and return values; a FieldBuffer
// answers "" for every piece beyond the last, as callers expect of its 30 entries.
class FieldBuffer {
public:
    static constexpr int Capacity = 30;

    FieldBuffer() = default;
    explicit FieldBuffer(QStringList pieces);

    // 1-based; "" beyond the pieces present.
    QString operator()(int n) const;
    int count() const { return int(pieces_.size()); }
    const QStringList& pieces() const { return pieces_; }

private:
    QStringList pieces_;
};

// Lines of text split at CR LF; a text ending in CR LF yields an empty last piece. At most 30.
FieldBuffer SplitLines(const QString& text);
// Pieces split at every ",": no quotes, no trimming. At most 30.
FieldBuffer SplitFields(const QString& text);

// mode 0 cuts off, 1 rounds halves away from zero, 2 rounds up a remainder of a tenth or more.
double RoundValue(double value, int digits, int mode);

// Sorts keys[low..high] ascending by binary (code unit) comparison.
void SortKeys(QStringList& keys, int low, int high);

// Every run of ASCII digits replaced by its value zero-filled to 8 digits, so that keys sort
// in natural order: "P2-10" → "P00000002-00000010".
QString NaturalKey(const QString& text);
