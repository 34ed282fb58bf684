#include "xlsx/xlsx_package.h"

#include "base/app_error.h"
#include "xlsx/compound_file.h"

#include <zip.h>

#include <algorithm>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

constexpr unsigned ParseFlags = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

struct ZipReader {
    zip_t* archive = nullptr;
    ~ZipReader() {
        if (archive) zip_discard(archive);
    }
};

const QString Encrypted = u"暗号化されています。"_s;

// Parts of XML and relationships; drawings in the older VML are often not well-formed XML.
bool isXmlPart(const std::string& name) {
    const QString lower = QString::fromStdString(name).toLower();
    return lower.endsWith(u".xml"_s) || lower.endsWith(u".rels"_s);
}

AppError unreadable(const QString& label, const QString& reason) {
    return AppError(u"ブックを読めません。\r\n"_s + label + u"\r\n"_s + reason);
}

bool isStoredUncompressed(const std::string& name) {
    static const char* const packed[] = {".jpeg", ".jpg", ".png", ".gif"};
    return std::any_of(std::begin(packed), std::end(packed), [&](const char* suffix) {
        const std::string s(suffix);
        return name.size() >= s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
    });
}

// A part name must stay inside the package: relative, "/" between segments, no "." or "..",
// no drive letter.
bool isInsidePackage(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos) return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string_view segment(name.data() + start, end - start);
        if (segment == "." || segment == "..") return false;
        start = end + 1;
    }
    return true;
}

} // namespace

XlsxPackage XlsxPackage::fromZip(const QByteArray& zip, const QString& label, qint64 maxExpandedBytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(zip.constData(), zip_uint64_t(zip.size()), 0, &error);
    if (!source) throw unreadable(label, u"メモリが足りません。"_s);
    ZipReader reader;
    reader.archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!reader.archive) {
        zip_source_free(source);
        // An encrypted package is no zip but a compound file; a password cannot be asked for here.
        const auto names = CompoundFile::entryNames(zip);
        if (names && CompoundFile::isEncryptedPackage(*names)) throw unreadable(label, Encrypted);
        throw unreadable(label, u"Excel ブック（.xlsx）ではないか、壊れています。"_s);
    }
    XlsxPackage package;
    const zip_int64_t count = zip_get_num_entries(reader.archive, 0);
    qint64 expanded = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(reader.archive, zip_uint64_t(i), 0, &stat) != 0)
            throw unreadable(label, u"壊れています。"_s);
        const std::string name = stat.name ? stat.name : "";
        if (!isInsidePackage(name))
            throw unreadable(label, u"パッケージの外を指す部品名があります: "_s + QString::fromUtf8(name));
        if (name.back() == '/') continue;
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            throw unreadable(label, Encrypted);
        const AppError tooLarge =
            unreadable(label, u"展開すると大きすぎます（"_s +
                                  QString::number(maxExpandedBytes / (1024 * 1024)) + u" MB 超）。"_s);
        // The declared size is checked first, and the real bytes again as they come, since a
        // crafted entry may declare less than it holds.
        const bool sizeKnown = stat.valid & ZIP_STAT_SIZE;
        if (sizeKnown && expanded + qint64(stat.size) > maxExpandedBytes) throw tooLarge;
        zip_file_t* file = zip_fopen_index(reader.archive, zip_uint64_t(i), 0);
        if (!file) throw unreadable(label, u"暗号化されているか、壊れています。"_s);
        QByteArray bytes;
        if (sizeKnown) bytes.reserve(qsizetype(stat.size));
        char chunk[1 << 16];
        zip_int64_t read = 0;
        while ((read = zip_fread(file, chunk, sizeof chunk)) > 0) {
            expanded += read;
            if (expanded > maxExpandedBytes) {
                zip_fclose(file);
                throw tooLarge;
            }
            bytes.append(chunk, qsizetype(read));
        }
        zip_fclose(file);
        if (read < 0 || (sizeKnown && bytes.size() != qsizetype(stat.size)))
            throw unreadable(label, u"壊れています。"_s);
        package.setBytes(name, std::move(bytes));
    }
    if (!package.has("[Content_Types].xml") || !package.has("xl/workbook.xml"))
        throw unreadable(label, u"Excel ブック（.xlsx）ではありません。"_s);
    if (!package.has("_rels/.rels")) throw unreadable(label, u"ブックの部品がありません: _rels/.rels"_s);
    // Every part goes into the workbooks made from this one: a broken part is named now, before
    // anything is built, rather than copied into a file no program opens.
    for (const std::string& name : package.order_) {
        if (!isXmlPart(name)) continue;
        try {
            package.xml(name, false);
        } catch (const AppError& error) {
            throw unreadable(label, error.message());
        }
    }
    return package;
}

QByteArray XlsxPackage::toZip() const {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_TRUNCATE, &error) : nullptr;
    if (!archive) {
        if (source) zip_source_free(source);
        throw AppError(u"ブックを組み立てられません。"_s);
    }
    zip_source_keep(source);
    std::vector<QByteArray> held; // libzip reads the data only when the archive is closed
    held.reserve(order_.size());
    for (const std::string& name : order_) {
        held.push_back(bytes(name));
        zip_source_t* data =
            zip_source_buffer(archive, held.back().constData(), zip_uint64_t(held.back().size()), 0);
        const zip_int64_t index = data ? zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (data) zip_source_free(data);
            zip_discard(archive);
            zip_source_free(source);
            throw AppError(u"ブックを組み立てられません。"_s);
        }
        zip_set_file_compression(archive, zip_uint64_t(index),
                                 isStoredUncompressed(name) ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 6);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(source);
        throw AppError(u"ブックを組み立てられません。"_s);
    }
    QByteArray out;
    zip_stat_t stat;
    if (zip_source_stat(source, &stat) == 0 && zip_source_open(source) == 0) {
        out.resize(qsizetype(stat.size));
        zip_source_read(source, out.data(), stat.size);
        zip_source_close(source);
    }
    zip_source_free(source);
    return out;
}

XlsxPackage::Part& XlsxPackage::part(const std::string& name) const {
    const auto found = parts_.find(name);
    if (found == parts_.end()) throw AppError(u"ブックの部品がありません: "_s + QString::fromStdString(name));
    return found->second;
}

QByteArray XlsxPackage::bytes(const std::string& name) const {
    const Part& p = part(name);
    if (p.changed) return xmlBytes(*p.doc);
    return p.bytes;
}

void XlsxPackage::setBytes(const std::string& name, QByteArray bytes) {
    if (!has(name)) order_.push_back(name);
    Part& p = parts_[name];
    p.bytes = std::move(bytes);
    p.doc.reset();
    p.changed = false;
}

std::string XlsxPackage::freeName(const std::string& prefix, const std::string& suffix) const {
    int& n = firstFree_.try_emplace(prefix + '\n' + suffix, 1).first->second;
    for (;; ++n) {
        std::string name = prefix + std::to_string(n) + suffix;
        if (!has(name)) return name;
    }
}

void XlsxPackage::settle(const std::string& name) {
    auto found = parts_.find(name);
    if (found == parts_.end() || !found->second.doc) return;
    Part& p = found->second;
    if (p.changed) p.bytes = xmlBytes(*p.doc);
    p.doc.reset();
    p.changed = false;
}

void XlsxPackage::remove(const std::string& name) {
    firstFree_.clear();
    parts_.erase(name);
    order_.erase(std::remove(order_.begin(), order_.end(), name), order_.end());
}

pugi::xml_document& XlsxPackage::xml(const std::string& name, bool changing) {
    Part& p = part(name);
    if (!p.doc) {
        p.doc = std::make_shared<pugi::xml_document>();
        const pugi::xml_parse_result result =
            p.doc->load_buffer(p.bytes.constData(), size_t(p.bytes.size()), ParseFlags);
        if (!result) {
            p.doc.reset();
            throw AppError(u"ブックの部品が壊れています: "_s + QString::fromStdString(name));
        }
    }
    if (changing) p.changed = true;
    return *p.doc;
}

const pugi::xml_document& XlsxPackage::xml(const std::string& name) const {
    return const_cast<XlsxPackage*>(this)->xml(name, false);
}

pugi::xml_document& XlsxPackage::createXml(const std::string& name, const char* text) {
    setBytes(name, QByteArray(text));
    return xml(name, true);
}

QByteArray xmlBytes(const pugi::xml_document& doc) {
    struct Writer : pugi::xml_writer {
        QByteArray out;
        void write(const void* data, size_t size) override {
            out.append(static_cast<const char*>(data), qsizetype(size));
        }
    } writer;
    // A declaration read with the part is kept; none is invented for parts without one.
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.out;
}
