#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>

// The body of each fuzz target: the bytes go to the real reader as a file or in memory.
// Errors the readers report to the user are the expected answer to bad input and are
// swallowed; anything else (a crash, a sanitizer report, another exception) is a finding.
namespace FuzzEntries {

using Entry = void (*)(const uint8_t* data, size_t size);

void csvList(const uint8_t* data, size_t size);
void settings(const uint8_t* data, size_t size);
void bookmarks(const uint8_t* data, size_t size);
void album(const uint8_t* data, size_t size);
void phrases(const uint8_t* data, size_t size);
void sima(const uint8_t* data, size_t size);
void pm(const uint8_t* data, size_t size);
void classified(const uint8_t* data, size_t size);
void workbook(const uint8_t* data, size_t size);
void photoXml(const uint8_t* data, size_t size);
void photoHeader(const uint8_t* data, size_t size);
void blackboard(const uint8_t* data, size_t size);
void exifPreview(const uint8_t* data, size_t size);

struct Target {
    const char* name; // fuzz_<name>, tests/fuzz/corpus/<name>, tests/data/fuzz/<name>
    Entry run;
};
std::span<const Target> targets();

// Splits the classified input into the ".spd" file and its companion.
inline constexpr char CompanionMarker[] = "\n@@companion@@\n";
// Splits workbook input that is no zip into the XML parts it stands for.
inline constexpr char PartMarker[] = "\n@@part@@\n";

// Writes the bytes to `name` in a folder made once for the whole run, replacing the last
// input of that name, and answers its path.
QString inputFile(const uint8_t* data, size_t size, const QString& name);
// Removes a file left by an earlier input, so that its absence is exercised too.
void removeInputFile(const QString& name);

} // namespace FuzzEntries
