#include "workspace/settings.h"

#include "base/half_width.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Digits kept when a number is written: as many as a double reliably holds.
constexpr int kSignificantDigits = 15;

// Fixed notation with at most 15 significant digits and no trailing zeros. An exponent would
// not read back as a number, so it is spelled out.
QString formatNumber(double value) {
    if (!std::isfinite(value)) {
        // No caller computes such a value from a file or a text box; writing "nan" would turn
        // the item into a string for good.
        Q_ASSERT_X(false, "SettingValue::number", "not a finite number");
        value = 0;
    }
    if (value == 0) return u"0"_s; // also for -0, which would otherwise come out as "-0"

    // "d.dddddddddddddde+xx": the 15 digits and the exponent, then placed by hand.
    const QString scientific = QString::number(std::fabs(value), 'e', kSignificantDigits - 1);
    const qsizetype ePos = scientific.indexOf(u'e');
    QString digits = scientific.left(ePos);
    digits.remove(u'.');
    const int exponent = scientific.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    const qsizetype pointAt = exponent + 1; // digits before the decimal point
    QString text;
    if (pointAt <= 0)
        text = u"0."_s + QString(-pointAt, u'0') + digits;
    else if (pointAt >= digits.size())
        text = digits + QString(pointAt - digits.size(), u'0');
    else
        text = digits.left(pointAt) + u'.' + digits.mid(pointAt);
    return value < 0 ? u'-' + text : text;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

QString trimBlanks(const QString& line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line.at(begin)))
        ++begin;
    while (end > begin && isBlank(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

SettingValue SettingValue::number(double value) {
    return {formatNumber(value), true};
}

SettingValue SettingValue::string(const QString& text) {
    return {text, false};
}

SettingValue SettingValue::fromLine(const QString& line) {
    // Only the form the writer itself produces counts as a number. Anything else ("007",
    // ".5", "1e3") stays text, so it is written back exactly as it was read.
    static const QRegularExpression canonical(u"^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"_s);
    const QString trimmed = trimBlanks(line);
    return {trimmed, canonical.match(trimmed).hasMatch()};
}

double SettingValue::toNumber() const {
    // Numbers typed with the input method on read as the numbers they show.
    const QString typed = halfWidthAscii(text);
    qsizetype i = 0;
    const qsizetype size = typed.size();
    while (i < size && (typed.at(i) == u' ' || typed.at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < size && (typed.at(i) == u'-' || typed.at(i) == u'+')) ++i;
    const qsizetype digitsStart = i;
    while (i < size && isAsciiDigit(typed.at(i)))
        ++i;
    bool anyDigit = i > digitsStart;
    if (i < size && typed.at(i) == u'.') {
        const qsizetype fractionStart = i + 1;
        qsizetype j = fractionStart;
        while (j < size && isAsciiDigit(typed.at(j)))
            ++j;
        if (j > fractionStart) {
            anyDigit = true;
            i = j;
        } else if (anyDigit) {
            i = j; // "12." reads as 12
        }
    }
    if (!anyDigit) return 0;
    QString prefix = typed.mid(start, i - start);
    if (prefix.endsWith(u'.')) prefix.chop(1);
    bool ok = false;
    const double value = prefix.toDouble(&ok);
    if (ok) return value;
    // Only a value beyond the double range gets here.
    const double huge = std::numeric_limits<double>::infinity();
    return prefix.startsWith(u'-') ? -huge : huge;
}

int SettingValue::toRoundedInt() const {
    const double value = toNumber();
    constexpr double low = std::numeric_limits<qint16>::min();
    constexpr double high = std::numeric_limits<qint16>::max();
    if (value <= low) return static_cast<int>(low);
    if (value >= high) return static_cast<int>(high);
    // Half to even, independent of the floating-point rounding mode.
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
    return static_cast<int>(rounded);
}

Settings Settings::defaults() {
    Settings s;
    const auto num = [&s](int n, double value) { s.items_[n - 1] = SettingValue::number(value); };
    const auto str = [&s](int n, const QString& text) { s.items_[n - 1] = SettingValue::string(text); };

    num(SettingItem::AlbumMaxRows, 1000);
    num(SettingItem::ShowFilePreview, 1);
    str(SettingItem::PrinterName, QString());
    num(SettingItem::AutoFillFromFile, 1);
    num(SettingItem::AutoFillFileName, 1);
    num(SettingItem::AutoFillKind, 1);
    num(SettingItem::AutoFillFolderNames, 0);
    str(8, QString());
    str(SettingItem::FreeTemplatePath, QString());
    num(SettingItem::ImportKeyKind, 0);
    num(SettingItem::PaperLayout, 1); // A4 portrait, 3 photos a page
    // A 4:3 photo frame with room for the information box beside it. Numbers, as a text read
    // back from the file becomes one: the file then stays the same from the first run on.
    num(SettingItem::PhotoWidthMm, 112);
    num(SettingItem::PhotoHeightMm, 84);
    num(SettingItem::MarginTopMm, 10);
    num(SettingItem::MarginBottomMm, 10);
    num(SettingItem::MarginLeftMm, 30);
    num(SettingItem::MarginRightMm, 15);
    num(SettingItem::BlankMarkEmpty, 1);
    num(SettingItem::MirrorA3, 0);
    str(SettingItem::InfoFont, u"ＭＳ Ｐゴシック:10.5"_s);
    str(21, QString());
    num(SettingItem::XmlDetailAsSpare, 0);
    num(SettingItem::DeliveryChecks, 0);
    num(SettingItem::CopyAllItems, 0);
    num(SettingItem::ShowThumbnails, 1);
    str(SettingItem::NearSuffix, u"_01"_s);
    str(SettingItem::FarSuffix, u"_02"_s);
    num(SettingItem::SplitByHyphen, 0);
    for (int n = SettingItem::SimaPhotoFolder; n <= SettingItem::PointRecordInspector; ++n)
        str(n, QString());
    num(SettingItem::PointRecordHeightOn, 0);
    num(SettingItem::FieldReportKind, 0);
    str(37, QString());
    num(SettingItem::StripExtension, 1);
    num(SettingItem::FileNameLine, 1);
    num(SettingItem::KindLine, 2);
    num(SettingItem::FolderLine, 3);
    num(SettingItem::ParentFolderLine, 4);
    for (int n = SettingItem::ParcelInfoLine1; n <= ItemCount; ++n)
        str(n, QString());

    s.texts_[SettingText::CdLabelKind - 1] = u"0"_s;
    s.texts_[SettingText::CdLabelStartX - 1] = u"46.5"_s;
    s.texts_[SettingText::CdLabelStartY - 1] = u"21.5"_s;
    s.texts_[SettingText::CdLabelFrameOn - 1] = u"1"_s;
    return s;
}

const SettingValue& Settings::item(int n) const {
    static const SettingValue empty;
    Q_ASSERT_X(n >= 1 && n <= ItemCount, "Settings::item", "item number out of range");
    if (n < 1 || n > ItemCount) return empty;
    return items_[n - 1];
}

void Settings::setItem(int n, const SettingValue& value) {
    Q_ASSERT_X(n >= 1 && n <= ItemCount, "Settings::setItem", "item number out of range");
    if (n < 1 || n > ItemCount) return;
    items_[n - 1] = value;
}

bool Settings::itemIsOn(int n) const {
    const SettingValue& value = item(n);
    if (value.isNumber) return value.toNumber() == 1;
    // A string counts only when it reads wholly as a number ("1", " 1", "1.0"); "*" and
    // "1abc" are off.
    bool ok = false;
    const double number = trimBlanks(halfWidthAscii(value.text)).toDouble(&ok);
    return ok && number == 1;
}

const QString& Settings::text(int n) const {
    static const QString empty;
    Q_ASSERT_X(n >= 1 && n <= TextCount, "Settings::text", "text number out of range");
    if (n < 1 || n > TextCount) return empty;
    return texts_[n - 1];
}

void Settings::setText(int n, const QString& text) {
    Q_ASSERT_X(n >= 1 && n <= TextCount, "Settings::setText", "text number out of range");
    if (n < 1 || n > TextCount) return;
    texts_[n - 1] = text;
}
