#pragma once

#include "delivery/index_check.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

// The rules of the photo index check, shared by the files that hold them; IndexCheck::check
// is the way in.
namespace IndexCheck::Detail {

QString nameOf(const pugi::xml_node& node);
QString tag(const QString& name); // 〈name〉

// A leaf's text as a reader sees it: character data with the five markup references and
// character references replaced. A reference to any other entity stays as written and is
// listed, since what it stands for depends on the reader; so is a "&" that starts no reference.
struct LeafText {
    QString value;
    QStringList entities; // "&name;"
    bool bareAmpersand = false;
};
LeafText leafText(const pugi::xml_node& node);
QString textOf(const pugi::xml_node& node);

bool isLeaf(const pugi::xml_node& node);
// The leaves below node by name, the first of each, wherever they stand.
QHash<QString, QString> leavesOf(const pugi::xml_node& node);
// The 写真情報 block's シリアル番号, 0 when it is none.
int serialOf(const pugi::xml_node& block);

class Checker {
public:
    Checker(PhotoStandard::Version version, const IndexFiles& files, bool fromAlbum);

    QList<Finding> findings;

    void add(const QString& code, int serial, const QString& element, const QString& message,
             Finding::Severity severity = Finding::Severity::Error);

    // index_structure.cpp: the order and number of the elements, against the version's table.
    void structure(const pugi::xml_node& root);

    // index_values.cpp: the values of 基礎情報, of each 写真情報 block and of the rest.
    void basics(const pugi::xml_node& root);
    void photo(const pugi::xml_node& block);
    void otherLeaves(const pugi::xml_node& root);

    // index_files.cpp: the DTD and the files beside the index.
    void prepareFiles();
    void doctype(const pugi::xml_document& document);
    void extraFiles();

private:
    // A finding of the structure walk with what it says is missing or misplaced, so that an
    // element written in the wrong place is not reported as missing as well.
    struct Placed {
        Finding finding;
        const void* block = nullptr; // the 写真情報 block, null outside any
        QString element;
        bool missing = false;
        bool misplaced = false;
    };
    void structureOf(const pugi::xml_node& node, int index, int serial, const void* block,
                     QList<Placed>& found) const;

    bool requiredInParent(const QString& name) const;
    // Reports an item that is empty, or absent where the DTD lets it be absent (the structure
    // walk reports every other absence).
    void required(int serial, const QString& name, const QHash<QString, QString>& values);
    void requiredItems(int serial, const QHash<QString, QString>& values);
    void classes(int serial, const QHash<QString, QString>& values);
    void numbers(int serial, const QHash<QString, QString>& values);
    void dateAndFlags(int serial, const QHash<QString, QString>& values);
    // Length, characters and references of the leaves below node that no value rule judged.
    void leafRules(const pugi::xml_node& node, int serial);
    void leafRule(const pugi::xml_node& leaf, int serial);

    void pictureFile(int serial, const QHash<QString, QString>& values);
    bool pictureName(int serial, const QString& name, const QString& serialText);
    void drawings(const pugi::xml_node& block, int serial);
    // The file's content against what its extension promises, for a file found in folder.
    void content(int serial, const QString& element, const QString& folder, const QString& listed,
                 const QString& onDisk, const PhotoHeader& header);
    // A file found under another letter case than the index names it.
    void letterCase(int serial, const QString& element, const QString& folder, const QString& listed,
                    const QString& onDisk);

    PhotoStandard::Version version_;
    const QList<PhotoStandard::Element>& table_;
    const IndexFiles& files_;
    bool fromAlbum_;
    QString standard_;
    QString dtd_;
    QSet<QString> judged_; // elements of the current block a value rule has reported on
    QSet<QString> pictureNames_;
    QHash<QString, QString> pictures_; // upper-case name -> name on disk
    QSet<QString> drawingNames_;
    QHash<QString, QString> drawings_;
    QSet<QString> serials_;
    QSet<QString> listedPictures_;
    QSet<QString> listedDrawings_;
};

} // namespace IndexCheck::Detail
