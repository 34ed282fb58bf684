#pragma once

#include <QString>

class PageWriter;
class PrintDocument;
class Settings;

// The CD label page: two identical labels, the upper one ticked "正", the lower one "副",
// from the label texts of the settings.
namespace LabelPages {

inline constexpr double LowerLabelOffset = 129; // mm

// Whether the layout frame is drawn: text 149 a non-zero number or "True".
bool frameWanted(const Settings& settings);

// Builds the one-page label document into a new document (started here).
void out_Label(PrintDocument& document, const Settings& settings);

// The disc outlines and case strips of both labels, for test prints on plain paper.
void DrawLabelFrames(PageWriter& writer);
void DrawLabel(PageWriter& writer, const Settings& settings, double LabelOffsetY);

} // namespace LabelPages
