#include "xlsx/compound_file.h"

#include <QtEndian>

#include <set>
#include <vector>

using namespace Qt::StringLiterals;

namespace CompoundFile {

namespace {

constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 DifatInHeader = 109;

struct Reader {
    const QByteArray& bytes;
    int shift = 9;

    qsizetype sectorSize() const { return qsizetype(1) << shift; }
    quint32 word(qsizetype offset) const { return qFromLittleEndian<quint32>(bytes.constData() + offset); }
    qsizetype offsetOf(quint32 sector) const { return (qsizetype(sector) + 1) * sectorSize(); }
    bool inside(quint32 sector) const { return offsetOf(sector) + sectorSize() <= bytes.size(); }
};

// The sectors of the allocation table, from the header's list and the chain that continues it.
std::optional<std::vector<quint32>> fatSectors(const Reader& r) {
    std::vector<quint32> sectors;
    const quint32 count = r.word(0x2C);
    for (quint32 i = 0; i < DifatInHeader && sectors.size() < count; ++i)
        sectors.push_back(r.word(0x4C + 4 * i));
    std::set<quint32> seen;
    for (quint32 next = r.word(0x44); sectors.size() < count && next != EndOfChain;) {
        if (!r.inside(next) || !seen.insert(next).second) return std::nullopt;
        const qsizetype at = r.offsetOf(next);
        const qsizetype perSector = r.sectorSize() / 4 - 1;
        for (qsizetype i = 0; i < perSector && sectors.size() < count; ++i)
            sectors.push_back(r.word(at + 4 * i));
        next = r.word(at + 4 * perSector);
    }
    if (sectors.size() != count) return std::nullopt;
    for (quint32 s : sectors)
        if (!r.inside(s)) return std::nullopt;
    return sectors;
}

} // namespace

std::optional<QStringList> entryNames(const QByteArray& bytes) {
    static const QByteArray signature = QByteArray::fromHex("D0CF11E0A1B11AE1");
    if (bytes.size() < 512 || !bytes.startsWith(signature)) return std::nullopt;
    Reader r{bytes};
    r.shift = qFromLittleEndian<quint16>(bytes.constData() + 0x1E);
    if (r.shift != 9 && r.shift != 12) return std::nullopt;
    const auto fat = fatSectors(r);
    if (!fat) return std::nullopt;
    const auto next = [&](quint32 sector) -> quint32 {
        const qsizetype perSector = r.sectorSize() / 4;
        const qsizetype index = qsizetype(sector / perSector);
        if (index >= qsizetype(fat->size())) return EndOfChain;
        return r.word(r.offsetOf((*fat)[size_t(index)]) + 4 * qsizetype(sector % perSector));
    };
    QStringList names;
    std::set<quint32> seen;
    for (quint32 sector = r.word(0x30); sector != EndOfChain; sector = next(sector)) {
        if (!r.inside(sector) || !seen.insert(sector).second) return std::nullopt;
        for (qsizetype at = r.offsetOf(sector); at < r.offsetOf(sector) + r.sectorSize(); at += 128) {
            const int type = quint8(bytes.at(at + 0x42));
            const int length = qFromLittleEndian<quint16>(bytes.constData() + at + 0x40);
            if ((type != 1 && type != 2) || length < 2 || length > 64) continue;
            QString name;
            for (int i = 0; i < length / 2 - 1; ++i)
                name += QChar(qFromLittleEndian<quint16>(bytes.constData() + at + 2 * i));
            names << name;
        }
    }
    return names;
}

bool isEncryptedPackage(const QStringList& names) {
    return names.contains(u"EncryptionInfo"_s) && names.contains(u"EncryptedPackage"_s);
}

} // namespace CompoundFile
