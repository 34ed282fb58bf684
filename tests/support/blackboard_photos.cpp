#include "support/blackboard_photos.h"

#include "support/test_files.h"

#include <QBuffer>
#include <QImage>

using namespace Qt::StringLiterals;

namespace {

const QString Namespaces = uR"( xmlns:photo="http://dcpadv.org/schema/3.0/photoinfo")"
                           uR"( xmlns:measurement="http://dcpadv.org/schema/3.0/measurement")"
                           uR"( xmlns:item="http://dcpadv.org/schema/3.0/measurementitem")"_s;

const QString Simple[][2] = {
    {u"ConstructionName"_s, u"市道改良工事"_s}, {u"Contructor"_s, u"測量建設株式会社"_s},
    {u"LargeClassification"_s, u"工事"_s},      {u"PhotoClassification"_s, u"施工状況写真"_s},
    {u"ConstructionType"_s, u"道路土工"_s},     {u"MiddleClassification"_s, u"掘削工"_s},
    {u"SmallClassification"_s, u"床掘"_s},      {u"Title"_s, u"床掘完了"_s},
    {u"ShootingSpot"_s, u"No.12+5.0"_s},        {u"IsRepresentative"_s, u"True"_s},
    {u"IsFrequencyOfSubmission"_s, u"False"_s}, {u"ContractorRemarks"_s, u"左岸側から撮影"_s},
};

const QString Items[][4] = {{u"幅"_s, u"3.00"_s, u"3.02"_s, u"m"_s},
                            {u"深さ"_s, QString(), u"1.20"_s, u"m"_s}};

QString element(const QString& prefix, const QString& name, const QString& value) {
    return u'<' + prefix + u':' + name + u'>' + value + u"</"_s + prefix + u':' + name + u'>';
}

QString remarks(const QString& prefix) {
    return u'<' + prefix + u":ClassificationRemarks><rdf:Seq><rdf:li>予備A</rdf:li><rdf:li>予備B</rdf:li>"_s +
           u"</rdf:Seq></"_s + prefix + u":ClassificationRemarks>"_s;
}

QString itemFields(const QString (&item)[4]) {
    QString text = element(u"item"_s, u"Name"_s, item[0]);
    if (!item[1].isEmpty()) text += element(u"item"_s, u"DesignedValue"_s, item[1]);
    return text + element(u"item"_s, u"MeasuredValue"_s, item[2]) +
           element(u"item"_s, u"UnitName"_s, item[3]);
}

QString itemAttributes(const QString (&item)[4]) {
    QString text = u" item:Name=\""_s + item[0] + u'"';
    if (!item[1].isEmpty()) text += u" item:DesignedValue=\""_s + item[1] + u'"';
    return text + u" item:MeasuredValue=\""_s + item[2] + u"\" item:UnitName=\""_s + item[3] + u'"';
}

// The measurements: items as nested descriptions, attributes or parseType="Resource".
QString measurements(const QString& prefix, BlackboardLayout layout) {
    QString items;
    for (const auto& item : Items) {
        if (layout == BlackboardLayout::Elements)
            items += u"<rdf:li><rdf:Description>"_s + itemFields(item) + u"</rdf:Description></rdf:li>"_s;
        else if (layout == BlackboardLayout::Attributes)
            items += u"<rdf:li><rdf:Description"_s + itemAttributes(item) + u"/></rdf:li>"_s;
        else if (layout == BlackboardLayout::ParseTypeResource)
            items += u"<rdf:li rdf:parseType=\"Resource\">"_s + itemFields(item) + u"</rdf:li>"_s;
        else
            items += u"<rdf:li><rdf:Description rdf:parseType=\"Resource\">"_s + itemFields(item) +
                     u"</rdf:Description></rdf:li>"_s;
    }
    const QString inner = element(u"measurement"_s, u"Classification"_s, u"0"_s) +
                          u"<measurement:MeasurementItems><rdf:Seq>"_s + items +
                          u"</rdf:Seq></measurement:MeasurementItems>"_s;
    const QString open = u'<' + prefix + u":Measurements"_s;
    const QString close = u"</"_s + prefix + u":Measurements>"_s;
    if (layout == BlackboardLayout::Elements || layout == BlackboardLayout::ResourceDescription)
        return open + u"><rdf:Description>"_s + inner + u"</rdf:Description>"_s + close;
    return open + u" rdf:parseType=\"Resource\">"_s + inner + close;
}

} // namespace

QByteArray packetOf(const QString& descriptionContent, const QString& descriptionAttributes) {
    return (u"<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
            u"<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
            u"<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
            u"<rdf:Description rdf:about=\"\""_s +
            Namespaces + descriptionAttributes + u">\n"_s + descriptionContent +
            u"\n</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>"_s)
        .toUtf8();
}

QByteArray blackboardPacket(BlackboardLayout layout) {
    if (layout == BlackboardLayout::Attributes) {
        // Another prefix for the same namespace: names are matched by namespace.
        QString attributes = u" xmlns:pi=\"http://dcpadv.org/schema/3.0/photoinfo\""_s;
        for (const auto& [name, value] : Simple)
            attributes += u" pi:"_s + name + u"=\""_s + value + u'"';
        return packetOf(remarks(u"pi"_s) + measurements(u"pi"_s, layout), attributes);
    }
    QString content;
    for (const auto& [name, value] : Simple)
        content += element(u"photo"_s, name, value) + u'\n';
    content += remarks(u"photo"_s) + measurements(u"photo"_s, layout);
    QByteArray packet = packetOf(content);
    if (layout == BlackboardLayout::ResourceDescription)
        packet.replace("<rdf:Description rdf:about=\"\"",
                       "<rdf:Description rdf:about=\"\" rdf:parseType=\"Resource\"");
    return packet;
}

QByteArray xmpBody(const QByteArray& packet) {
    return QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + packet;
}

QByteArray exifDateBody(const QString& taken) {
    // Big-endian TIFF: IFD0 holds the Exif IFD pointer, which holds DateTimeOriginal (ASCII, 20).
    QByteArray tiff("MM\0\x2A\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01\x87\x69\0\x04\0\0\0\x01\0\0\0\x1A\0\0\0\0", 18); // IFD0 at 8, Exif IFD at 26
    tiff += QByteArray("\0\x01\x90\x03\0\x02\0\0\0\x14\0\0\0\x2C\0\0\0\0", 18); // value at 44
    tiff += taken.toLatin1() + '\0';
    return QByteArray("Exif\0\0", 6) + tiff;
}

QList<QByteArray> extendedXmpBodies(const QByteArray& guid, const QByteArray& packet, int pieces) {
    QList<QByteArray> bodies;
    const qsizetype step = (packet.size() + pieces - 1) / pieces;
    for (qsizetype offset = 0; offset < packet.size(); offset += step) {
        QByteArray body("http://ns.adobe.com/xmp/extension/\0", 35);
        body += guid;
        for (const quint32 number : {quint32(packet.size()), quint32(offset)})
            for (int shift = 24; shift >= 0; shift -= 8)
                body.append(char((number >> shift) & 0xFF));
        bodies.prepend(body + packet.mid(offset, step));
    }
    return bodies;
}

QByteArray jpegWithApp1(const QList<QByteArray>& bodies) {
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    QByteArray segments;
    for (const QByteArray& body : bodies) {
        const qsizetype length = body.size() + 2;
        segments += QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + body;
    }
    return bytes.insert(2, segments);
}

QString writeBlackboardJpeg(const QString& path, const QList<QByteArray>& bodies) {
    writeBytes(path, jpegWithApp1(bodies));
    return path;
}
