#pragma once

#include <QByteArray>
#include <QString>

// Small file helpers for tests.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// CP932 bytes of a text, for writing Japanese test input.
QByteArray cp932(const QString& text);
