#include "classified_fixture.h"

#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString ClassifiedFixture::Header = u"図番,大字,公図名,シート,地番,備考,近景,遠景,標示"_s;

QString ClassifiedFixture::line(const QString& f1, const QString& f3, const QString& f4, const QString& near,
                                const QString& far, const QString& f9) {
    return f1 + u",字"_s + f1 + u","_s + f3 + u","_s + f4 + u",-"_s + f1 + u",備考"_s + f1 + u","_s + near +
           u","_s + far + u","_s + f9;
}

QString ClassifiedFixture::writeCsv(const QStringList& lines, const QString& name) {
    QString text = Header + u"\r\n"_s;
    for (const QString& l : lines)
        text += l + u"\r\n"_s;
    writeBytes(path(name), cp932(text));
    return path(name);
}

void ClassifiedFixture::touch(const QString& relative) {
    QString native = relative;
    native.replace(u'\\', u'/');
    QDir().mkpath(QFileInfo(path(native)).path());
    writeBytes(path(native), "jpeg");
}

QString ClassifiedFixture::folder() const {
    return QDir::toNativeSeparators(QFileInfo(dir.path()).absoluteFilePath()) + QDir::separator();
}
