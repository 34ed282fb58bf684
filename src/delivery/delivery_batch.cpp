#include "delivery/delivery_batch.h"

#include "album/album_file.h"
#include "base/app_error.h"
#include "base/shipped_files.h"
#include "delivery/delivery_export.h"
#include "delivery/delivery_settings.h"
#include "delivery/folder_check.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace DeliveryBatch {

namespace {

// Without the option, the standard the window would choose.
std::optional<Version> standardOption(QStringList& arguments) {
    const qsizetype at = arguments.indexOf(u"--standard"_s);
    if (at < 0) return std::nullopt;
    const QString value = arguments.value(at + 1);
    if (value != u"03"_s && value != u"05"_s)
        throw BatchUsageError(u"--standard には 03 か 05 を指定して下さい。"_s);
    arguments.remove(at, 2);
    return value == u"05"_s ? Version::V05 : Version::V03;
}

const QString ReplaceAllOption = u"--replace-all"_s;
const QString ReplaceAllHint = u"削除してよいファイルであれば、--replace-all を付けて実行して下さい。"_s;

bool flag(QStringList& arguments, const QString& name) {
    return arguments.removeAll(name) > 0;
}

DeliveryRequest requestFor(const QStringList& albums, const QString& folder, std::optional<Version> chosen,
                           const QString& programFolder) {
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    const Version version = chosen.value_or(DeliverySettings::version(workspace.settings));
    DeliveryRequest request;
    request.maxRows = workspace.AlbumMaxRows;
    request.sheetRows = AlbumFile::load(albums.first(), request.maxRows);
    request.sheetName = QFileInfo(albums.first()).fileName();
    request.sheetAlbumPath = albums.first();
    request.listedAlbums = albums.mid(1);
    request.folder = folder;
    DeliverySettings::apply(workspace.settings, version, request);
    request.dtdPath = ShippedFiles::find(programFolder, PhotoStandard::dtdName(version));
    return request;
}

int deliver(const QStringList& words, const QString& programFolder, QTextStream& out, QTextStream& err) {
    QStringList arguments = words;
    const std::optional<Version> version = standardOption(arguments);
    const bool replaceAll = flag(arguments, ReplaceAllOption);
    const qsizetype to = arguments.indexOf(u"--to"_s);
    if (to < 1 || to != arguments.size() - 2)
        throw BatchUsageError(u"deliver にはアルバムファイルと出力先フォルダを指定して下さい。"_s);
    const QString& folder = arguments.last();
    const DeliveryRequest request = requestFor(arguments.mid(0, to), folder, version, programFolder);
    const auto review = [&](const QList<Finding>& findings) {
        for (const Finding& finding : findings)
            err << DeliveryExport::refusalLine(finding) << u'\n';
        return true;
    };
    DeliveryResult result;
    try {
        result = DeliveryExport::run(
            request, {}, [&](const QStringList&) { return replaceAll; }, review);
    } catch (const DeliveryRefused& refused) {
        err << refused.message() << u'\n';
        for (const Finding& finding : refused.findings())
            err << DeliveryExport::refusalLine(finding) << u'\n';
        return 1;
    } catch (const DeliveryDeclined& declined) {
        err << declined.message() << u'\n' << ReplaceAllHint << u'\n';
        return 1;
    }
    out << QDir::toNativeSeparators(QDir(folder).filePath(DeliveryExport::FolderName)) << u": "_s
        << result.photoCount << u" 枚\n"_s;
    err << DeliveryExport::standardLine(result.version, result.standard) << u'\n';
    if (!result.leftoverFolder.isEmpty())
        err << u"以前の PHOTO フォルダを削除できなかったため、次の場所に残っています:\n"_s
            << QDir::toNativeSeparators(result.leftoverFolder) << u'\n';
    return 0;
}

int checkDelivery(const QStringList& arguments, const QString&, QTextStream& out, QTextStream&) {
    if (arguments.size() != 1)
        throw BatchUsageError(u"check-delivery には PHOTO フォルダを 1 つ指定して下さい。"_s);
    const FolderCheck::Result result = FolderCheck::check(arguments.first());
    for (const Finding& finding : result.findings)
        out << Findings::line(finding) << u'\n';
    return Findings::hasErrors(result.findings) ? 2 : 0;
}

} // namespace

QList<BatchCommand> commands() {
    return {
        {u"deliver"_s,
         u"  tovenla2 deliver ALBUM.dat [MORE.dat ...] --to FOLDER [--standard 03|05] [--replace-all]\n"
         u"      FOLDER に電子納品の PHOTO フォルダ（写真、DTD、PHOTO.XML）を作ります。\n"
         u"      --standard を省くと電子納品の画面で最後に選んだ基準、まだなければ 05。\n"
         u"      05 はチェックで誤りがあれば出力しません。03 は誤りを warning として出してから出力します。\n"
         u"      以前の PHOTO フォルダに出力で作られたものではないファイルがあれば、その一覧を出して\n"
         u"      出力しません。--replace-all を付けると、それらも削除して置き換えます。\n"_s,
         deliver},
        {u"check-delivery"_s,
         u"  tovenla2 check-delivery FOLDER\n"
         u"      PHOTO フォルダ（またはそれを含むフォルダ）を検査し、指摘を 1 行ずつ出します。\n"
         u"      終了コード: 0 誤りなし、2 誤りあり、1 検査できない。\n"_s,
         checkDelivery}};
}

} // namespace DeliveryBatch
