#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <string>

// Every kind of file the program writes for the user, each as a writer that puts one of two
// versions of its output into a folder; the crash and full-disk tests run them all.
namespace Writers {

// Writes version (0 or 1) of its output into target; sources made by makeSources are in
// work. Answers true when the writer reported a problem without throwing (a run that skips
// rows, a message shown through the prompts).
using Writer = std::function<bool(const QString& work, const QString& target, int version)>;

// The photos both versions copy from, made before any writer runs.
void makeSources(const QString& work);
const std::map<std::string, Writer>& all();

// Every file under folder, by relative path, with its bytes; workbooks and PDFs without the
// time they were made.
std::map<QString, QByteArray> contentsOf(const QString& folder);

} // namespace Writers
