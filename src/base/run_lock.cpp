#include "base/run_lock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSysInfo>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

constexpr int PollMs = 50;
// A record is a few short lines; anything longer is not one.
constexpr qint64 RecordLimit = 4096;

} // namespace

LockHolder LockHolder::thisRun() {
    LockHolder holder;
    holder.computer = QSysInfo::machineHostName();
    holder.user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    holder.program = QCoreApplication::applicationName();
    holder.process = QCoreApplication::applicationPid();
    holder.since = QDateTime::currentDateTime();
    return holder;
}

QByteArray LockHolder::record() const {
    const QString text = u"computer="_s + computer + u"\nuser="_s + user + u"\nprogram="_s + program +
                         u"\nprocess="_s + QString::number(process) + u"\nsince="_s +
                         since.toString(Qt::ISODate) + u'\n';
    return text.toUtf8();
}

LockHolder LockHolder::fromRecord(const QByteArray& record) {
    LockHolder holder;
    for (const QString& line : QString::fromUtf8(record).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"computer"_s)
            holder.computer = value;
        else if (key == u"user"_s)
            holder.user = value;
        else if (key == u"program"_s)
            holder.program = value;
        else if (key == u"process"_s)
            holder.process = value.toLongLong();
        else if (key == u"since"_s)
            holder.since = QDateTime::fromString(value, Qt::ISODate);
    }
    return holder;
}

QStringList LockHolder::lines() const {
    QStringList lines;
    if (!computer.isEmpty())
        lines << u"使用中のコンピューター："_s + computer +
                     (user.isEmpty() ? QString() : u"（ユーザー "_s + user + u"）"_s);
    QStringList details;
    if (process > 0) details << u"プロセス "_s + QString::number(process);
    if (since.isValid()) details << since.toLocalTime().toString(u"yyyy/MM/dd HH:mm"_s) + u" から"_s;
    if (!program.isEmpty() || !details.isEmpty())
        lines << u"使用中のプログラム："_s + program +
                     (details.isEmpty() ? QString() : u"（"_s + details.join(u"、"_s) + u"）"_s);
    return lines;
}

RunLock::RunLock(const QString& lockFile, std::chrono::milliseconds wait) : lock_(lockFile) {
    const QDeadlineTimer deadline(wait);
    for (;;) {
        switch (lock_.tryLock()) {
        case FileLock::Result::Locked:
            state_ = State::Held;
            // Only names the holder: a record that cannot be written leaves the lock as good.
            lock_.write(LockHolder::thisRun().record());
            return;
        case FileLock::Result::Unavailable:
            state_ = State::Unavailable;
            return;
        case FileLock::Result::Held:
            break;
        }
        if (deadline.hasExpired()) break;
        QThread::msleep(PollMs);
    }
    state_ = State::Busy;
    QFile file(lockFile);
    if (file.open(QIODevice::ReadOnly)) holder_ = LockHolder::fromRecord(file.read(RecordLimit));
}
