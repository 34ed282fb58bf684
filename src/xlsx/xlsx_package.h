#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The parts of an Office Open XML package held in memory. A part is parsed only when asked
// for; parts never parsed, or parsed but not changed, are written back exactly as read.
class XlsxPackage {
public:
    static constexpr qint64 MaxExpandedBytes = 500LL * 1024 * 1024;

    // Throws AppError naming `label` when the bytes are no readable, unencrypted zip, would
    // expand past maxExpandedBytes, or name a part outside the package ("../x", "/x", "C:\\x").
    static XlsxPackage fromZip(const QByteArray& zip, const QString& label,
                               qint64 maxExpandedBytes = MaxExpandedBytes);
    QByteArray toZip() const;

    bool has(const std::string& name) const { return parts_.count(name) > 0; }
    // The first "prefix N suffix" name not in the package.
    std::string freeName(const std::string& prefix, const std::string& suffix) const;
    std::vector<std::string> names() const { return order_; }

    QByteArray bytes(const std::string& name) const;
    void setBytes(const std::string& name, QByteArray bytes);
    void remove(const std::string& name);

    // The part as XML, parsed once; `changing` marks it to be written from the tree.
    pugi::xml_document& xml(const std::string& name, bool changing = true);
    const pugi::xml_document& xml(const std::string& name) const;
    // Whether the part is held as a tree now.
    bool parsed(const std::string& name) const {
        const auto found = parts_.find(name);
        return found != parts_.end() && found->second.doc;
    }
    // Keeps the part as bytes only, written from its tree when that was changed.
    void settle(const std::string& name);
    // A new XML part from text.
    pugi::xml_document& createXml(const std::string& name, const char* text);

private:
    struct Part {
        QByteArray bytes;
        std::shared_ptr<pugi::xml_document> doc;
        bool changed = false;
    };
    Part& part(const std::string& name) const;

    mutable std::map<std::string, Part> parts_;
    std::vector<std::string> order_;
    // Where the search for a free name of each pattern resumes: every lower number is taken.
    mutable std::map<std::string, int> firstFree_;
};

// Serialises an XML tree without indentation, keeping its declaration.
QByteArray xmlBytes(const pugi::xml_document& doc);
