#include "base/system_error.h"

#include <cerrno>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString Disconnected =
    u"ディスクとの接続が切れました（USB メモリーやカードが抜かれたか、ネットワークが切れました）。"_s;
const QString DeviceGone = u"ディスクが見つかりません（取り外されたか、接続が切れました）。"_s;
const QString ShareUnreachable =
    u"共有フォルダのあるコンピューターにつながりません。ネットワークを確認して下さい。"_s;
const QString Unsupported = u"このディスク（ファイルシステム）ではできない操作です。"_s;
const QString Damaged = u"ディスクのファイルシステムが壊れています。ディスクの検査をして下さい。"_s;

// Some numbers exist only on some systems, and some are one number under two names.
const std::pair<int, QString> Reasons[] = {
    {ENOSPC, u"ディスクの空きが足りません。"_s},
    {EDQUOT, u"ディスクの空きが足りません。"_s},
    {EACCES, u"書き込む権限がありません（読み取り専用のファイルかフォルダです）。"_s},
    {EPERM, u"書き込む権限がありません（読み取り専用のファイルかフォルダです）。"_s},
    {EROFS, u"読み取り専用のディスクです。"_s},
    {ENOENT, u"保存先のフォルダが見つかりません。"_s},
    {EISDIR, u"同じ名前のフォルダがあります。"_s},
    {EEXIST, u"同じ名前のファイルかフォルダがあります。"_s},
    {ENOTEMPTY, u"フォルダが空ではありません。"_s},
    {EFBIG, u"ファイルが大きすぎて書き込めません。"_s},
    {EOVERFLOW, u"ファイルが大きすぎて扱えません。"_s},
    {EIO, u"ディスクの読み書きに失敗しました。"_s},
    {ENAMETOOLONG, u"ファイル名が長すぎます。"_s},
    {ENOTDIR, u"保存先のパスの途中にフォルダではないものがあります。"_s},
    {ELOOP, u"シンボリックリンクが循環しています。"_s},
    {EMLINK, u"フォルダの中のファイルが多すぎます。"_s},
    {EMFILE, u"同時に開けるファイルの数を超えました。"_s},
    {ENFILE, u"同時に開けるファイルの数を超えました。"_s},
    {EBUSY, u"ファイルが他のプログラムで使用中です。"_s},
    {ETXTBSY, u"ファイルが他のプログラムで使用中です。"_s},
    {EXDEV, u"別のディスクへは移せません。"_s},
    {ENOMEM, u"メモリーが足りません。"_s},
    {EAGAIN, u"一時的に使えません。しばらくしてからやり直して下さい。"_s},
    {EINTR, u"処理が中断されました。やり直して下さい。"_s},
    {EINVAL, Unsupported},
    {ENOSYS, Unsupported},
    {EOPNOTSUPP, Unsupported},
    {ENOTCONN, Disconnected},
    {ECONNRESET, Disconnected},
    {ECONNABORTED, Disconnected},
    {EPIPE, Disconnected},
    {ENODEV, DeviceGone},
    {ENXIO, DeviceGone},
    {ETIMEDOUT, ShareUnreachable},
    {ECONNREFUSED, ShareUnreachable},
    {EHOSTUNREACH, ShareUnreachable},
    {ENETDOWN, ShareUnreachable},
    {ENETUNREACH, ShareUnreachable},
    {ENETRESET, ShareUnreachable},
    {ENOLCK, u"ファイルをロックできません（共有フォルダがロックに対応していません）。"_s},
    {EBADMSG, Damaged},
#ifdef ESHUTDOWN
    {ESHUTDOWN, Disconnected},
#endif
#ifdef EHOSTDOWN
    {EHOSTDOWN, ShareUnreachable},
#endif
#ifdef EREMOTEIO
    {EREMOTEIO, u"共有フォルダのあるディスクの読み書きに失敗しました。"_s},
#endif
#ifdef ESTALE
    {ESTALE,
     u"共有フォルダのファイルが使えなくなりました（共有フォルダ側で変更されたか、接続し直されました）。"_s},
#endif
#ifdef ENOMEDIUM
    {ENOMEDIUM, u"ディスクが入っていません（カードなどを確認して下さい）。"_s},
#endif
#ifdef EMEDIUMTYPE
    {EMEDIUMTYPE, u"このディスクは使えない種類のものです。"_s},
#endif
#ifdef EUCLEAN
    {EUCLEAN, Damaged},
#endif
#ifdef EKEYEXPIRED
    {EKEYEXPIRED, u"共有フォルダへのログオンの期限が切れました。ログオンし直して下さい。"_s},
#endif
};

} // namespace

QString systemErrorReason(int error) {
    for (const auto& [number, reason] : Reasons)
        if (number == error) return reason;
    return u"システムのエラーで失敗しました（エラー番号 "_s + QString::number(error) + u"）。"_s;
}
