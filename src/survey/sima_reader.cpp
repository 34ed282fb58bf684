#include "survey/sima_reader.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "survey/sima_text.h"

#include <array>
#include <charconv>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Field n (from 1) of a line, without copying: "" when the line has fewer fields.
class Fields {
public:
    explicit Fields(QStringView line) : line_(line) {}

    QStringView operator()(int n) const {
        qsizetype start = 0;
        for (int i = 1; i < n; ++i) {
            const qsizetype comma = line_.indexOf(u',', start);
            if (comma < 0) return {};
            start = comma + 1;
        }
        const qsizetype end = line_.indexOf(u',', start);
        return line_.sliced(start, (end < 0 ? line_.size() : end) - start);
    }

    // Fields first..first+count-1 at once, for the point lines read by the thousand.
    template <size_t N> std::array<QStringView, N> run(int first) const {
        std::array<QStringView, N> result{};
        qsizetype start = 0;
        for (int i = 1; i < first; ++i) {
            const qsizetype comma = line_.indexOf(u',', start);
            if (comma < 0) return result;
            start = comma + 1;
        }
        for (size_t k = 0; k < N; ++k) {
            const qsizetype end = line_.indexOf(u',', start);
            result[k] = line_.sliced(start, (end < 0 ? line_.size() : end) - start);
            if (end < 0) break;
            start = end + 1;
        }
        return result;
    }

private:
    QStringView line_;
};

enum class Record { Other, Point, Parcel, Member };

// Field 1 compared exactly: case matters and a leading blank makes it no record.
Record recordOf(QStringView line) {
    if (line.size() < 3 || (line.size() > 3 && line.at(3) != u',')) return Record::Other;
    const QStringView code = line.first(3);
    if (code == u"A01") return Record::Point;
    if (code == u"D00") return Record::Parcel;
    if (code == u"B01") return Record::Member;
    return Record::Other;
}

bool isUsedLine(QStringView line) {
    return recordOf(line) != Record::Other;
}

} // namespace

QStringView rightTrimmed(QStringView text) {
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.first(end);
}

double leadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    std::array<char, 64> buffer{};
    size_t n = 0;
    const auto take = [&](char c) {
        if (n + 1 < buffer.size()) buffer[n++] = c;
    };
    const auto digits = [&] {
        bool any = false;
        while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
            take(char(text.at(i++).unicode()));
            any = true;
        }
        return any;
    };
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        if (text.at(i) == u'-') take('-');
        ++i;
    }
    bool any = digits();
    if (i < text.size() && text.at(i) == u'.') {
        take('.');
        ++i;
        any = digits() || any;
    }
    if (!any) return 0;
    // An exponent counts only when digits follow it.
    if (i + 1 < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (text.at(j) == u'-' || text.at(j) == u'+') ++j;
        if (j < text.size() && text.at(j) >= u'0' && text.at(j) <= u'9') {
            take('e');
            for (qsizetype k = i + 1; k < j; ++k)
                take(char(text.at(k).unicode()));
            i = j;
            digits();
        }
    }
    double value = 0;
    const auto result = std::from_chars(buffer.data(), buffer.data() + n, value);
    return result.ec == std::errc() ? value : 0;
}

QString rightTrimmedString(const QString& text) {
    const QStringView trimmed = rightTrimmed(text);
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

void PointNameIndex::add(const QString& name, int record) {
    QString key = rightTrimmedString(name);
    if (!records_.contains(key)) records_.insert(std::move(key), record);
}

std::optional<int> PointNameIndex::find(const QString& name) const {
    const auto it = records_.constFind(rightTrimmedString(name));
    if (it == records_.constEnd()) return std::nullopt;
    return it.value();
}

std::optional<int> FindPointByName(const PointNameIndex& index, const QString& name) {
    return index.find(name);
}

namespace SimaReader {

const QString NoParcels = u"画地がありません。"_s;
const QString NoParcelsLoaded = u"画地がありません。先ずはSIMAファイルを呼び出してください。"_s;
const QString ReadFailed = u"ファイルを読み込めません。"_s;

QString readText(const QString& path) {
    AnsiCodec::Decoded decoded = AnsiCodec::decode(readWholeFile(path, ReadFailed));
    if (const QString refusal = AnsiCodec::importRefusal(path, decoded); !refusal.isEmpty())
        throw AppError(refusal);
    return std::move(decoded.text);
}

SimaFile parse(const QString& text) {
    SimaFile file;
    const QStringView all(text);
    QString parcel;
    int lineNumber = 0;
    for (qsizetype start = 0; start < all.size();) {
        // Lines end at CR LF, LF or CR alone.
        qsizetype end = start;
        while (end < all.size() && all.at(end) != u'\n' && all.at(end) != u'\r')
            ++end;
        const QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (end + 1 < all.size() && all.at(end) == u'\r' && all.at(end + 1) == u'\n') ++start;
        ++lineNumber;

        switch (recordOf(line)) {
        case Record::Point: {
            const auto f = Fields(line).run<4>(3);
            SimaPoint point;
            point.Name = f[0].toString();
            point.X = leadingNumber(f[1]);
            point.Y = leadingNumber(f[2]);
            point.HasHeight = !f[3].trimmed().isEmpty();
            point.H = point.HasHeight ? leadingNumber(f[3]) : 0;
            point.line = lineNumber;
            file.points.append(std::move(point));
            break;
        }
        case Record::Parcel: {
            // Every header starts a parcel of its own, also one repeating the previous name.
            if (!file.parcels.isEmpty()) file.parcels.last().LastPoint = int(file.members.size());
            parcel = rightTrimmed(Fields(line)(3)).toString();
            file.parcels.append({parcel, int(file.members.size()) + 1, int(file.members.size()), lineNumber});
            break;
        }
        case Record::Member:
            file.members.append({parcel, rightTrimmed(Fields(line)(3)).toString(), {}, lineNumber});
            break;
        case Record::Other:
            break;
        }
    }
    if (!file.parcels.isEmpty()) file.parcels.last().LastPoint = int(file.members.size());
    return file;
}

SimaFile read(const QString& path) {
    SimaFile file = parse(SimaText::read(path, isUsedLine));
    file.path = path;
    return file;
}

} // namespace SimaReader

SimaPoints indexPoints(QList<SimaPoint> points) {
    SimaPoints result;
    result.points = std::move(points);
    result.index.reserve(result.points.size());
    for (qsizetype i = 0; i < result.points.size(); ++i)
        result.index.add(result.points.at(i).Name, int(i + 1));
    return result;
}

SimaPoints LoadSimaPoints(const QString& path) {
    return indexPoints(SimaReader::read(path).points);
}

bool ParcelTables::listsNoPoint() const {
    for (const SimaParcel& parcel : parcels)
        if (parcel.pointCount() > 0) return false;
    return true;
}

ParcelTables parcelTables(const SimaFile& file) {
    return {file.parcels, file.members};
}

ParcelTables LoadParcels(const QString& path) {
    return parcelTables(SimaReader::read(path));
}
