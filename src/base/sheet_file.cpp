#include "base/sheet_file.h"

#include "base/app_error.h"
#include "base/file_io.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString FormatName = u"tovenla2-sheet"_s;
const QString LoadHeadline = u"ファイルを読み込めませんでした。"_s;
const QString SaveHeadline = u"ファイルを保存できませんでした。"_s;
// The widest grid the program saves has four columns.
constexpr int MaxColumns = 256;

QByteArray jsonString(const QString& text) {
    // An array of one string is the simplest way to get Qt's exact JSON escaping.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

[[noreturn]] void notASheet(const QString& detail) {
    throw AppError(u"写真帳ファイルの形式ではありません。"_s +
                   (detail.isEmpty() ? QString() : u"（"_s + detail + u"）"_s));
}

} // namespace

namespace SheetFile {

QByteArray serialize(const SheetContent& content) {
    QByteArray out = R"({"format": "tovenla2-sheet", "version": )" + QByteArray::number(Version) +
                     R"(, "columns": )" + QByteArray::number(content.columns) + R"(,)" + "\n";
    if (!content.companionText.isEmpty())
        out += R"( "companion": )" + jsonString(content.companionText) + ",\n";
    out += R"( "rows": [)";
    bool firstRow = true;
    for (const auto& [row, cells] : content.rows) {
        QByteArray cellsJson;
        for (int c = 0; c < cells.size(); ++c) {
            if (cells.at(c).isEmpty()) continue;
            if (!cellsJson.isEmpty()) cellsJson += ", ";
            cellsJson += '"' + QByteArray::number(c + 1) + "\": " + jsonString(cells.at(c));
        }
        if (cellsJson.isEmpty()) continue;
        out += firstRow ? "\n  " : ",\n  ";
        out += R"({"row": )" + QByteArray::number(row) + R"(, "cells": {)" + cellsJson + "}}";
        firstRow = false;
    }
    out += "\n]}\n";
    return out;
}

SheetContent parse(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) notASheet({});
    const QJsonObject root = document.object();
    if (root.value(u"format"_s).toString() != FormatName) notASheet({});
    const int version = root.value(u"version"_s).toInt(0);
    if (version < 1) notASheet(u"版が読めません"_s);
    if (version > Version)
        throw AppError(u"このファイルは新しい版（"_s + QString::number(version) +
                       u"）のプログラムで保存されています。"_s);

    SheetContent content;
    content.columns = root.value(u"columns"_s).toInt(0);
    // Every row holds all columns, so an absurd count would be allocated once per row.
    if (content.columns < 1 || content.columns > MaxColumns) notASheet(u"列数が読めません"_s);
    const QJsonValue companion = root.value(u"companion"_s);
    if (!companion.isUndefined() && !companion.isString()) notASheet(u"組になるファイルの内容が読めません"_s);
    content.companionText = companion.toString();
    const QJsonValue rowsValue = root.value(u"rows"_s);
    if (!rowsValue.isArray()) notASheet(u"行がありません"_s);
    for (const QJsonValue& rowValue : rowsValue.toArray()) {
        const QJsonObject rowObject = rowValue.toObject();
        const double rowNumber = rowObject.value(u"row"_s).toDouble(0);
        if (!(rowNumber >= 1 && rowNumber <= std::numeric_limits<int>::max()) ||
            rowNumber != std::floor(rowNumber))
            notASheet(u"行番号が正しくありません"_s);
        const int row = int(rowNumber);
        if (content.rows.count(row)) notASheet(u"行 "_s + QString::number(row) + u" が重複しています"_s);
        const QJsonObject cellsObject = rowObject.value(u"cells"_s).toObject();
        QStringList cells(content.columns);
        for (auto it = cellsObject.begin(); it != cellsObject.end(); ++it) {
            bool ok = false;
            const int column = it.key().toInt(&ok);
            if (!ok || column < 1 || column > content.columns || !it.value().isString())
                notASheet(u"行 "_s + QString::number(row) + u" の列 "_s + it.key() +
                          u" が正しくありません"_s);
            cells[column - 1] = it.value().toString();
        }
        content.rows.emplace(row, std::move(cells));
    }
    return content;
}

FileState save(const QString& path, const SheetContent& content) {
    const QByteArray bytes = serialize(content);
    writeFileAtomically(path, bytes, SaveHeadline);
    return FileState::of(bytes);
}

SheetContent load(const QString& path, FileState* state) {
    const QByteArray bytes = readWholeFile(path, LoadHeadline);
    if (state) *state = FileState::of(bytes);
    try {
        return parse(bytes);
    } catch (const AppError& error) {
        throw AppError(loadFailure(path, error.message()));
    }
}

QString loadFailure(const QString& path, const QString& reason) {
    return fileFailure(LoadHeadline, path, reason);
}

QString saveFailure(const QString& path, const QString& reason) {
    return fileFailure(SaveHeadline, path, reason);
}

} // namespace SheetFile
