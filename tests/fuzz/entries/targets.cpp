#include "fuzz_entries.h"

#include <array>

namespace FuzzEntries {

std::span<const Target> targets() {
    static constexpr std::array<Target, 13> all{{
        {"csv_list", csvList},
        {"settings", settings},
        {"bookmarks", bookmarks},
        {"album", album},
        {"phrases", phrases},
        {"sima", sima},
        {"pm", pm},
        {"classified", classified},
        {"workbook", workbook},
        {"photo_xml", photoXml},
        {"photo_header", photoHeader},
        {"blackboard", blackboard},
        {"exif_preview", exifPreview},
    }};
    return all;
}

} // namespace FuzzEntries
