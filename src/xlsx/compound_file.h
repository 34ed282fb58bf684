#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// The OLE compound file that holds old .xls workbooks and encrypted Office Open XML packages.
namespace CompoundFile {

// The names of the storages and streams the file holds; nothing when the bytes are no compound
// file or its directory cannot be followed.
std::optional<QStringList> entryNames(const QByteArray& bytes);

// An Office Open XML package stored encrypted: a compound file with these two streams.
bool isEncryptedPackage(const QStringList& names);

} // namespace CompoundFile
