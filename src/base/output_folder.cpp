#include "base/output_folder.h"

#include "base/file_io.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString OutputFolder::Gone = u"出力先のフォルダがなくなりました。"_s;

OutputFolder::OutputFolder(const QString& path) : path_(QFileInfo(path).absoluteFilePath()) {
    if (QFileInfo(path_).isDir()) id_ = fileId(path_);
}

QString OutputFolder::change() const {
    if (!id_) return {};
    const std::optional<FileId> now = fileId(path_);
    if (!now || !QFileInfo(path_).isDir())
        return u"フォルダが見つかりません。USB メモリーやカードが取り外されたか、フォルダが削除されました。"_s;
    if (*now != *id_)
        return u"同じ場所に別のフォルダがあります。USB メモリーやカードが取り外されたか、フォルダが置き換えられました。"_s;
    return {};
}

void OutputFolder::check() const {
    if (const QString why = change(); !why.isEmpty()) throw OutputFolderGone(fileFailure(Gone, path_, why));
}
