#include "print/print_setup.h"

#include "base/font_choice.h"
#include "print/print_document.h"
#include "workspace/settings.h"

using namespace Qt::StringLiterals;

const QString PrinterCheck::NoPrinter =
    u"印刷できるプリンタがありません。プリンタをインストールしてから印刷して下さい。"_s;
const QString PrinterCheck::NotChosen =
    u"印刷するプリンタが決まっていません。「プリンタ選択」で印刷するプリンタを選んで下さい。"_s;
const QString PrinterCheck::NotInstalled =
    u"プリンタ「%1」はこのコンピュータにインストールされていません。「プリンタ選択」で印刷するプリンタを選んで下さい。"_s;

PrinterCheck checkPrinter(const QString& jobPrinter, const QStringList& installed,
                          const QString& systemDefault) {
    // A printer named in settings from another computer is never swapped for another one
    // silently: the user is told and chooses.
    const QString name = jobPrinter.isEmpty() ? systemDefault : jobPrinter;
    if (name.isEmpty())
        return {name, installed.isEmpty() ? PrinterCheck::NoPrinter : PrinterCheck::NotChosen};
    if (!installed.contains(name)) return {name, PrinterCheck::NotInstalled.arg(name)};
    return {name, {}};
}

InfoFont InfoFont::parse(const QString& setting) {
    constexpr double StandardSize = 10.5;
    const std::optional<FontChoice::Font> font = FontChoice::parse(setting);
    if (!font) return {u"ＭＳ Ｐゴシック"_s, StandardSize};
    // A size of 0 would print nothing readable: such a setting gets the standard size.
    return {font->family, font->size > 0 ? font->size : StandardSize};
}

PrintJob setUpDocument(PrintDocument& document, const Settings& settings, const QString& defaultPrinter) {
    PrintJob job;
    job.PrinterName = settings.itemText(SettingItem::PrinterName);
    if (job.PrinterName.isEmpty()) job.PrinterName = defaultPrinter;
    document.Device = job.PrinterName;
    // Every document carries the job name: the printer queue and a PDF's title show it.
    document.DocName = PrintDocumentName;
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
