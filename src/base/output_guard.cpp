#include "base/output_guard.h"

#include "base/app_error.h"
#include "base/photo_file.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString OutputGuard::OpenAlbum = u"開いているアルバムファイル"_s;
const QString OutputGuard::Album = u"アルバムファイル"_s;
const QString OutputGuard::Photo = u"アルバムの写真"_s;
const QString OutputGuard::Template = u"雛形のブック"_s;
const QString OutputGuard::List = u"CSV ファイル"_s;
const QString OutputGuard::Survey = u"SIMA ファイル"_s;
const QString OutputGuard::PmFile = u"PM ファイル"_s;
const QString OutputGuard::ImportFile = u"インポートファイル"_s;
const QString OutputGuard::ProgramFile = u"プログラムの設定ファイル"_s;

namespace {

// Windows-made albums hold "C:\..." paths; here they name nothing and are never matched.
bool isInside(const QString& path, const QString& folder) {
    const QString file = QFileInfo(path).canonicalFilePath();
    return !file.isEmpty() && !folder.isEmpty() && file.startsWith(folder + u'/');
}

} // namespace

OutputGuard& OutputGuard::keep(const QString& path, const QString& kind) {
    if (const std::optional<FileId> id = fileId(kind == Photo ? PhotoFile::resolve(path) : path))
        entries_.append({{path, kind}, *id});
    return *this;
}

OutputGuard& OutputGuard::keepAll(const QStringList& paths, const QString& kind) {
    for (const QString& path : paths)
        keep(path, kind);
    return *this;
}

std::optional<OutputGuard::Kept> OutputGuard::match(const QString& output) const {
    const std::optional<FileId> id = fileId(output);
    if (!id) return std::nullopt;
    for (const Entry& entry : entries_)
        if (entry.id == *id) return entry.kept;
    return std::nullopt;
}

QString OutputGuard::refusal(const QString& output) const {
    const std::optional<Kept> kept = match(output);
    if (!kept) return {};
    return u"出力先が"_s + kept->kind + u"です。"_s + kept->kind +
           u"を上書きしないよう、別の出力先を指定して下さい。\r\n出力先："_s +
           QDir::toNativeSeparators(output) + u"\r\n"_s + kept->kind + u"："_s +
           QDir::toNativeSeparators(kept->path);
}

void OutputGuard::check(const QString& output) const {
    if (const QString refused = refusal(output); !refused.isEmpty()) throw AppError(refused);
}

QList<OutputGuard::Kept> OutputGuard::inside(const QString& folder) const {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    QList<Kept> found;
    for (const Entry& entry : entries_)
        if (isInside(entry.kept.path, canonical)) found.append(entry.kept);
    return found;
}
