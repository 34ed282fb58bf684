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

OutputGuard& OutputGuard::keep(const QString& path, const QString& kind) {
    const QString found = kind == Photo ? PhotoFile::resolve(path) : path;
    const FileIdentity file = FileIdentity::of(found);
    // A file that is not there cannot be written over; Windows-made albums hold "C:\..." paths
    // that name nothing here.
    if (!file.id) return *this;
    files_.add(file, entries_.size());
    // Where the file really is, a link followed, decides which folder holds it.
    entries_.append({{path, kind}, foldedName(QFileInfo(found).canonicalFilePath())});
    return *this;
}

OutputGuard& OutputGuard::keepAll(const QStringList& paths, const QString& kind) {
    for (const QString& path : paths)
        keep(path, kind);
    return *this;
}

std::optional<OutputGuard::Kept> OutputGuard::match(const QString& output) const {
    if (output.isEmpty()) return std::nullopt;
    const QList<qsizetype> found = files_.find(FileIdentity::of(output));
    if (found.isEmpty()) return std::nullopt;
    return entries_.at(found.constFirst()).kept;
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
    const QString real = QFileInfo(folder).canonicalFilePath();
    const QString within = foldedName(real.isEmpty() ? folder : real) + u'/';
    QList<Kept> found;
    for (const Entry& entry : entries_)
        if (entry.place.startsWith(within)) found.append(entry.kept);
    return found;
}
