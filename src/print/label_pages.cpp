#include "print/label_pages.h"

#include "print/label_dates.h"
#include "print/page_writer.h"
#include "print/print_document.h"
#include "workspace/settings.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr double LabelBoxWidth = 118; // centred texts sit on the disc's centre line

struct Shapes {
    PageWriter& w;
    void rect(double x1, double y1, double x2, double y2) const {
        w.rectangleMm(x1 + w.OriginX, y1 + w.OriginY, x2 + w.OriginX, y2 + w.OriginY);
    }
    void line(double x1, double y1, double x2, double y2) const {
        w.lineMm(x1 + w.OriginX, y1 + w.OriginY, x2 + w.OriginX, y2 + w.OriginY);
    }
    void circle(double cx, double cy, double radius) const {
        constexpr double k = PageWriter::TwipsPerMm;
        w.doc.DrawCircle((cx + w.OriginX) * k, (cy + w.OriginY) * k, radius * k);
    }
};

} // namespace

namespace LabelPages {

bool frameWanted(const Settings& settings) {
    const QString t = settings.text(SettingText::CdLabelFrameOn).trimmed();
    return t.compare(u"true"_s, Qt::CaseInsensitive) == 0 || SettingValue::string(t).toNumber() != 0;
}

void DrawLabelFrames(PageWriter& writer) {
    const Shapes shapes{writer};
    writer.doc.BrushStyle = PrintDocument::BrushTransparent;
    writer.doc.PenWidth = 10;
    for (const double y0 : {0.0, LowerLabelOffset}) {
        shapes.circle(69, 84 + y0, 20.5);
        shapes.circle(69, 84 + y0, 59);
        shapes.rect(133, 25 + y0, 139, 143 + y0);
        shapes.rect(145, 25 + y0, 200, 143 + y0);
    }
}

void DrawLabel(PageWriter& writer, const Settings& settings, double D) {
    const Shapes shapes{writer};
    PrintDocument& doc = writer.doc;
    const auto text = [&settings](int n) { return settings.text(n); };
    const bool tecris = SettingValue::string(text(SettingText::CdLabelKind)).toNumber() == 0;
    const QString kindWord = tecris ? u"TECRIS"_s : u"CORINS"_s;
    const QString titleWord = tecris ? u"業務委託"_s : u"工事"_s;
    const QString placeWord = tecris ? u"委託"_s : u"工事"_s;

    doc.setTextColor(PrintDocument::SystemWindowText);
    writer.TextAlign = PageWriter::Centre;
    writer.TextBoxWidth = LabelBoxWidth;
    writer.vspri(kindWord + u"登録番号 "_s + text(131), 10, D + 37, 9);
    writer.vspri(LabelDates::eraFiscalYear(text(133)) + text(132) + titleWord, 10, D + 45, 10.5);
    writer.vspri(LabelDates::eraYearMonth(text(133)), 10, D + 50, 10.5);
    writer.vspri(placeWord + u"箇所："_s + text(134), 10, D + 58, 10.5);

    writer.TextAlign = PageWriter::Left;
    writer.vspri(text(141), 99, D + 67, 11);

    doc.BrushStyle = PrintDocument::BrushTransparent;
    doc.PenWidth = 10;
    shapes.rect(28, 76.5 + D, 43, 91.5 + D);
    shapes.line(28, 81.5 + D, 42.7, 81.5 + D);
    writer.vspri(u"発注者署名"_s, 28.3, D + 77.5, 8);
    shapes.rect(95, 76.5 + D, 110, 91.5 + D);
    shapes.line(95, 81.5 + D, 109.7, 81.5 + D);
    writer.vspri(u"受注者署名"_s, 95.3, D + 77.5, 8);

    const double by = 94.5 + D;
    shapes.rect(28, by, 28 + 2.3, by + 2.3);
    writer.vspri(u"正"_s, 31, D + 94, 8);
    const double bx = D == 0 ? 28 : 38;
    shapes.line(bx + 0.3, by + 1.6, bx + 0.5, by + 1.9);
    shapes.line(bx + 0.5, by + 1.9, bx + 1.8, by + 0.4);
    shapes.rect(38, by, 38 + 2.3, by + 2.3);
    writer.vspri(u"副"_s, 41, D + 94, 8);

    writer.vspri(u"発注者："_s + text(135), 38, D + 104.5, 10.5);
    writer.vspri(u"受注者："_s + text(136), 38, D + 109, 10.5);

    shapes.rect(43, 114 + D, 95, 134 + D);
    writer.vspri(u"ウイルスチェックに関する情報"_s, 44, D + 115, 8);
    writer.vspri(u"ウイルス対策ソフト名："_s + text(137), 44, D + 118.5, 8);
    writer.vspri(u"ウイルス定義："_s + LabelDates::westernVersionDate(text(138)), 44, D + 122, 8);
    writer.vspri(u"チェック年月日："_s + LabelDates::westernDate(text(139)), 44, D + 125.5, 8);
    writer.vspri(u"フォーマット形式："_s + text(140), 44, D + 129, 8);
}

void out_Label(PrintDocument& document, const Settings& settings) {
    PageWriter writer(document);
    writer.OriginX =
        int(std::nearbyint(SettingValue::string(settings.text(SettingText::CdLabelStartX)).toNumber() - 6));
    writer.OriginY =
        int(std::nearbyint(SettingValue::string(settings.text(SettingText::CdLabelStartY)).toNumber() - 6.5));
    document.StartDoc();
    if (frameWanted(settings)) DrawLabelFrames(writer);
    DrawLabel(writer, settings, 0);
    DrawLabel(writer, settings, LowerLabelOffset);
    document.EndDoc();
}

} // namespace LabelPages
