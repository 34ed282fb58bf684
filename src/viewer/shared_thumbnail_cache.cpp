#include "viewer/shared_thumbnail_cache.h"

#include "base/app_error.h"
#include "base/file_io.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QUrl>
#include <QtEndian>
#include <array>

using namespace Qt::StringLiterals;

namespace {

const QByteArray UriKey = "Thumb::URI";
const QByteArray MTimeKey = "Thumb::MTime";
const QByteArray SizeKey = "Thumb::Size";

// The tEXt chunks before the picture data. Read here because the image reader's text lookup
// splits keys at ':', and every key of the cache has "::" in it.
QHash<QByteArray, QByteArray> pngTexts(const QByteArray& png) {
    QHash<QByteArray, QByteArray> texts;
    qsizetype at = 8; // past the signature
    while (at + 12 <= png.size()) {
        const auto length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (type == "IDAT" || length > quint32(png.size() - at - 12)) break;
        if (type == "tEXt") {
            const QByteArray data = png.mid(at + 8, length);
            const qsizetype zero = data.indexOf('\0');
            if (zero > 0) texts.insert(data.left(zero), data.mid(zero + 1));
        }
        at += 12 + qsizetype(length);
    }
    return texts;
}

quint32 crc32(const QByteArray& bytes) {
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray bigEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// An uncompressed text chunk: the writer of the image library compresses long values, which
// some readers of the cache do not look into.
QByteArray textChunk(const QByteArray& key, const QByteArray& value) {
    const QByteArray body = "tEXt" + key + '\0' + value;
    return bigEndian(quint32(body.size() - 4)) + body + bigEndian(crc32(body));
}

QByteArray mtimeText(const QFileInfo& photo) {
    return QByteArray::number(photo.lastModified().toSecsSinceEpoch());
}

} // namespace

std::optional<SharedThumbnailCache::Flavour> SharedThumbnailCache::flavourFor(int edge) {
    if (edge <= edgeOf(Flavour::Normal)) return Flavour::Normal;
    if (edge <= edgeOf(Flavour::Large)) return Flavour::Large;
    return std::nullopt;
}

QString SharedThumbnailCache::defaultRoot() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u"/.cache"_s;
    return base + u"/thumbnails"_s;
}

SharedThumbnailCache::SharedThumbnailCache(QString root) : root_(std::move(root)) {}

QByteArray SharedThumbnailCache::uriOf(const QString& absolutePath) {
    return QUrl::fromLocalFile(absolutePath).toEncoded(QUrl::FullyEncoded);
}

QString SharedThumbnailCache::entryPath(const QString& absolutePath, Flavour flavour) const {
    const QByteArray md5 = QCryptographicHash::hash(uriOf(absolutePath), QCryptographicHash::Md5).toHex();
    return root_ + (flavour == Flavour::Normal ? u"/normal/"_s : u"/large/"_s) + QString::fromLatin1(md5) +
           u".png"_s;
}

QImage SharedThumbnailCache::read(const QFileInfo& photo, Flavour flavour) const {
    const QString path = entryPath(photo.absoluteFilePath(), flavour);
    if (root_.isEmpty() || !QFileInfo::exists(path)) return {};
    QByteArray bytes;
    try {
        bytes = readWholeFile(path, u"サムネイルを読み込めません。"_s);
    } catch (const AppError&) {
        return {};
    }
    const QHash<QByteArray, QByteArray> texts = pngTexts(bytes);
    if (texts.value(UriKey) != uriOf(photo.absoluteFilePath()) || texts.value(MTimeKey) != mtimeText(photo))
        return {};
    // Optional in the format, but when present it catches a change within the same second.
    const QByteArray size = texts.value(SizeKey);
    if (!size.isEmpty() && size != QByteArray::number(photo.size())) return {};
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "png");
    const QSize stored = reader.size();
    if (stored.width() > edgeOf(flavour) || stored.height() > edgeOf(flavour)) return {};
    return reader.read();
}

bool SharedThumbnailCache::write(const QFileInfo& photo, Flavour flavour, const QImage& thumbnail) const {
    if (root_.isEmpty() || thumbnail.isNull()) return false;
    const QString path = entryPath(photo.absoluteFilePath(), flavour);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) return false;
        // Thumbnails show what is in the user's photos: the folders are the user's alone.
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QFile::setPermissions(root_, ownerOnly);
        QFile::setPermissions(folder, ownerOnly);
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80); // light compression: the entries are small and written often
    if (!writer.write(thumbnail)) return false;
    const QByteArray texts = textChunk(UriKey, uriOf(photo.absoluteFilePath())) +
                             textChunk(MTimeKey, mtimeText(photo)) +
                             textChunk(SizeKey, QByteArray::number(photo.size())) +
                             textChunk("Thumb::Image::Width", QByteArray::number(thumbnail.width())) +
                             textChunk("Thumb::Image::Height", QByteArray::number(thumbnail.height())) +
                             textChunk("Software", "Tovenla2");
    constexpr int AfterHeader = 8 + 25; // signature, then the IHDR chunk
    bytes.insert(AfterHeader, texts);
    try {
        writeReplaceableFile(path, bytes, u"サムネイルを保存できません。"_s);
    } catch (const AppError&) {
        return false;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}
