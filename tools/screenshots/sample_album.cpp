#include "sample_album.h"

#include "viewer/thumbnailer.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace SampleAlbum {

namespace {

struct Shot {
    QString point;
    QString title;
    QString work;
    QColor ground;
    QString workClass;
};

// A field with a survey stake and the small board that names the point.
QImage draw(const Shot& shot, int index) {
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 330);
    sky.setColorAt(0, QColor(110, 170, 225));
    sky.setColorAt(1, QColor(205, 228, 245));
    painter.fillRect(0, 0, 800, 330, sky);
    painter.fillRect(0, 330, 800, 270, shot.ground);
    painter.setBrush(QColor(70, 110, 70));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({{0, 330}, {160 + index * 40, 200}, {420, 330}}));
    painter.drawPolygon(QPolygon({{300, 330}, {620 - index * 30, 230}, {800, 330}}));
    const int x = 300 + index * 35;
    for (int band = 0; band < 6; ++band)
        painter.fillRect(x, 250 + band * 40, 16, 40, band % 2 ? Qt::white : QColor(200, 40, 40));
    painter.fillRect(x + 40, 380, 230, 150, QColor(40, 80, 55));
    painter.setPen(Qt::white);
    QFont font(u"IPAGothic"_s);
    font.setPixelSize(30);
    painter.setFont(font);
    painter.drawText(QRect(x + 50, 390, 210, 130), Qt::AlignCenter, shot.point + u"\n"_s + shot.work);
    return image;
}

QString infoOf(const Shot& shot, int index) {
    QStringList lines(19);
    lines[0] = shot.point;
    lines[1] = shot.title;
    lines[2] = u"2024年6月%1日"_s.arg(index + 3);
    lines[9] = shot.title;
    lines[11] = u"工事"_s;
    lines[12] = u"2024-06-%1"_s.arg(index + 3, 2, 10, QChar(u'0'));
    lines[13] = shot.workClass;
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

} // namespace

QList<AlbumRow> make(const QString& folder, QSize cell) {
    const QList<Shot> shots{
        {u"No.1"_s, u"着手前 全景"_s, u"着手前"_s, QColor(150, 130, 90), u"着手前及び完成写真"_s},
        {u"No.2"_s, u"境界杭 設置状況"_s, u"杭設置"_s, QColor(140, 120, 85), u"施工状況写真"_s},
        {u"No.3"_s, u"境界杭 設置完了"_s, u"完了"_s, QColor(125, 140, 90), u"施工状況写真"_s},
        {u"No.4"_s, u"完成 全景"_s, u"完成"_s, QColor(120, 150, 95), u"着手前及び完成写真"_s},
    };
    QList<AlbumRow> rows;
    for (int i = 0; i < shots.size(); ++i) {
        const QImage photo = draw(shots.at(i), i);
        AlbumRow row;
        row.path = QDir(folder).filePath(u"P%1.JPG"_s.arg(i + 1, 4, 10, QChar(u'0')));
        photo.save(row.path, "JPEG", 85);
        row.picture = Thumbnailer::fitInto(photo, cell);
        row.info = infoOf(shots.at(i), i);
        row.number = QString::number(i + 1);
        rows << row;
    }
    return rows;
}

} // namespace SampleAlbum
