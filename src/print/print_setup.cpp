#include "print/print_setup.h"

#include "print/print_document.h"
#include "settings/settings.h"

using namespace Qt::StringLiterals;

InfoFont InfoFont::parse(const QString& setting) {
    const qsizetype colon = setting.indexOf(u':');
    if (colon < 0) return {u"ＭＳ Ｐゴシック"_s, 10.5};
    return {setting.left(colon), SettingValue::string(setting.mid(colon + 1)).toNumber()};
}

PrintJob setUpDocument(PrintDocument& document, const Settings& settings, const QString& defaultPrinter) {
    PrintJob job;
    job.PrinterName = settings.itemText(SettingItem::PrinterName);
    if (job.PrinterName.isEmpty()) job.PrinterName = defaultPrinter;
    document.Device = job.PrinterName;
    if (settings.itemNumber(SettingItem::PaperLayout) == 0) {
        document.setPaperSize(PrintDocument::PaperA3);
        document.setOrientation(PrintDocument::Landscape);
        job.PaperName = u"A3"_s;
        job.OrientationName = u"横方向"_s;
    } else {
        document.setPaperSize(PrintDocument::PaperA4);
        document.setOrientation(PrintDocument::Portrait);
        job.PaperName = u"A4"_s;
        job.OrientationName = u"縦方向"_s;
    }
    document.FontName = InfoFont::parse(settings.itemText(SettingItem::InfoFont)).name;
    document.Preview = true;
    return job;
}
