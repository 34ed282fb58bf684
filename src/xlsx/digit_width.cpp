#include "xlsx/digit_width.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace DigitWidth {

namespace {

// Widest digit at 11 points; other sizes scale from it.
struct Known {
    const char16_t* name;
    int pixelsAt11;
};
const Known Table[] = {
    {u"calibri", 7},        {u"mspゴシック", 8},     {u"mspgothic", 8},     {u"msゴシック", 8},
    {u"msgothic", 8},       {u"msp明朝", 8},         {u"mspmincho", 8},     {u"ms明朝", 8},
    {u"msmincho", 8},       {u"游ゴシック", 8},      {u"yugothic", 8},      {u"游ゴシックmedium", 8},
    {u"yugothicmedium", 8}, {u"游ゴシックlight", 8}, {u"yugothiclight", 8}, {u"メイリオ", 9},
    {u"meiryo", 9},
};

// "ＭＳ Ｐゴシック", "MS PGothic" and "ms pgothic" are one font: widths, spaces and case aside.
QString key(const QString& name) {
    QString folded = name.normalized(QString::NormalizationForm_KC).toLower();
    folded.remove(u' ');
    return folded;
}

int measured(const QString& fontName, double points) {
    // Fonts are only known to a program that shows windows.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    QFont font(fontName);
    font.setPixelSize(std::max(1, int(std::lround(points * 96 / 72))));
    if (QFontInfo(font).family().compare(fontName, Qt::CaseInsensitive) != 0) return 0;
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    return int(std::lround(widest));
}

} // namespace

int pixels(const QString& fontName, double points) {
    if (!std::isfinite(points) || points <= 0) points = 11;
    points = std::min(points, 409.0);
    const QString wanted = key(fontName);
    int at11 = 7;
    const auto known = std::find_if(std::begin(Table), std::end(Table),
                                    [&](const Known& k) { return wanted == QStringView(k.name); });
    if (known != std::end(Table)) {
        at11 = known->pixelsAt11;
    } else if (const int own = measured(fontName, points); own > 0) {
        return own;
    }
    return std::max(1, int(std::lround(at11 * points / 11)));
}

} // namespace DigitWidth
