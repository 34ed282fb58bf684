#include "survey/classified_check.h"

#include "album/csv_photo_list.h"
#include "album/photo_paths.h"
#include "base/ansi_codec.h"
#include "base/file_io.h"
#include "base/photo_file.h"
#include "survey/classified_table.h"

using namespace Qt::StringLiterals;

namespace ClassifiedCheck {

const QString LogFileName = u"CHKErr.log"_s;

Result run(const ClassifiedData& data) {
    Result result;
    PhotoFile::Resolver photos;
    // As the import will name it: a photo whose name differs only in letter case is there.
    const auto present = [&](QStringView name) {
        return !photos.findFile(joinListPath(data.folder, name)).isEmpty();
    };
    const auto add = [&](QString line) {
        if (result.problems.size() >= MaxLogLines) {
            result.overLimit = true;
            return false;
        }
        result.problems.append(std::move(line));
        return true;
    };
    for (int g = 0; g < data.groups.size(); ++g) {
        if (data.rows.value(g).key.isEmpty() &&
            !add(QString::number(g + 1) + u"行: 公図（正）名が空欄です。正しく処理できません。"_s))
            return result;
        const ImportGroup& group = data.groups.at(g);
        for (int j = group.first; j <= group.last; ++j) {
            const QStringView near = data.table.column(j, 5);
            const QStringView far = data.table.column(j, 6);
            if (!present(near) && !add(QString::number(j) + u" : "_s + data.table.column(j, 3) +
                                       u" 近景写真無し("_s + near + u")"_s))
                return result;
            if (!present(far) && !add(QString::number(j) + u" : "_s + data.table.column(j, 3) +
                                      u" 遠景写真無し("_s + far + u")"_s))
                return result;
        }
    }
    return result;
}

QString logPath(const QString& folder) {
    return PhotoPaths::join(folder, LogFileName);
}

void writeLog(const QString& path, const QStringList& problems) {
    QString text;
    for (const QString& line : problems)
        text += line + u"\r\n"_s;
    // Characters CP932 cannot hold come only from UTF-8 lists; the log names them as "?".
    writeFileAtomically(path, AnsiCodec::encode(text).bytes,
                        u"チェック結果のlogファイルを書き込めませんでした。"_s);
}

} // namespace ClassifiedCheck
