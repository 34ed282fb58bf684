#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Photos as an electronic blackboard camera writes them: a small real JPEG with XMP (and an
// Exif date) spliced in after the start-of-image marker.
enum class BlackboardLayout {
    Elements,            // every item an element
    Attributes,          // simple items as attributes of rdf:Description, other prefixes
    ParseTypeResource,   // structures as rdf:parseType="Resource"
    ResourceDescription, // rdf:parseType="Resource" on rdf:Description itself
};

// The packet of the sample blackboard (title 床掘完了, 2 remarks, 2 measurement items).
QByteArray blackboardPacket(BlackboardLayout layout);
// A packet of the given rdf:Description content, namespaces declared.
QByteArray packetOf(const QString& descriptionContent, const QString& descriptionAttributes = {});

// APP1 bodies.
QByteArray xmpBody(const QByteArray& packet);
QByteArray exifDateBody(const QString& taken); // "2024:06:01 09:00:00"
// The extended packet cut into `pieces` bodies, last piece first.
QList<QByteArray> extendedXmpBodies(const QByteArray& guid, const QByteArray& packet, int pieces);

// A small JPEG with the APP1 bodies in order.
QByteArray jpegWithApp1(const QList<QByteArray>& bodies);
// Writes it; answers the path.
QString writeBlackboardJpeg(const QString& path, const QList<QByteArray>& bodies);
