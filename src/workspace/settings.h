#pragma once

#include <QString>

#include <array>

// Item numbers of SettingItems (1..50). Reserved items 8, 21, 37, 49, 50 and the unnamed
// 44, 45 are kept and written back as read.
namespace SettingItem {
enum : int {
    AlbumMaxRows = 1,
    ShowFilePreview = 2,
    PrinterName = 3,
    AutoFillFromFile = 4,
    AutoFillFileName = 5,
    AutoFillKind = 6,
    AutoFillFolderNames = 7,
    FreeTemplatePath = 9,
    ImportKeyKind = 10,
    PaperLayout = 11,
    PhotoWidthMm = 12,
    PhotoHeightMm = 13,
    MarginTopMm = 14,
    MarginBottomMm = 15,
    MarginLeftMm = 16,
    MarginRightMm = 17,
    BlankMarkEmpty = 18,
    MirrorA3 = 19,
    InfoFont = 20,
    XmlDetailAsSpare = 22,
    DeliveryChecks = 23,
    CopyAllItems = 24,
    ShowThumbnails = 25,
    NearSuffix = 26,
    FarSuffix = 27,
    SplitByHyphen = 28,
    SimaPhotoFolder = 29,
    PointCodePrefix = 30,
    PointRecordWorkName = 31,
    PointRecordRouteName = 32,
    PointRecordLocation = 33,
    PointRecordInspector = 34,
    PointRecordHeightOn = 35,
    FieldReportKind = 36,
    StripExtension = 38,
    FileNameLine = 39,
    KindLine = 40,
    FolderLine = 41,
    ParentFolderLine = 42,
    ParcelInfoLine1 = 43,
    ParcelWitness = 44,
    ParcelRemarks = 45,
    FreeTitleRow = 46,
    FreeTitleColumn = 47,
    FreeTitleText = 48,
};
}

// Entry numbers of SettingTexts (1..200) that hold something; all others are kept as read.
namespace SettingText {
enum : int {
    DeliveryRequiredHistoryFirst = 1, // 9 boxes x 5 entries: 1..45
    DeliveryRequiredHistoryLast = 45,
    DeliveryConditionalHistoryFirst = 51, // 4 boxes x 5 entries: 51..70
    DeliveryConditionalHistoryLast = 70,
    InfoItemHistoryFirst = 101, // information items 9..13, 5 entries each: 101..125
    InfoItemHistoryLast = 125,
    CdLabelKind = 130, // "0" TECRIS, "1" CORINS
    CdLabelRowFirst = 131,
    CdLabelRowLast = 141,
    CdLabelStartX = 147,
    CdLabelStartY = 148,
    CdLabelFrameOn = 149,
    InfoItemLaterHistoryFirst = 151, // information items 14..19, 5 entries each: 151..180
    InfoItemLaterHistoryLast = 180,
    RealEstateReportType = 195,
    DeliveryStandard = 196,         // "03" or "05"; empty: nothing chosen yet
    DeliveryGuideline = 197,        // 適用要領基準 of a version 05 delivery; empty: the newest
    DeliveryFrequencyDefault = 198, // 提出頻度写真 of photos that leave it unset; empty: "0"
};
}

// One value of the settings file: its text and whether it was a number. Numbers and strings
// are written differently, so the distinction survives a round trip.
struct SettingValue {
    QString text;
    bool isNumber = false;

    static SettingValue number(double value);
    static SettingValue string(const QString& text);
    // A trimmed line of the file: a number when it reads as a plain decimal number.
    static SettingValue fromLine(const QString& line);

    // Lenient number reading: a leading number is taken, anything else counts as 0. Digits
    // typed full-width count as digits.
    double toNumber() const;
    // toNumber() rounded half to even, as a 16-bit integer conversion does.
    int toRoundedInt() const;
    bool operator==(const SettingValue&) const = default;
};

// SettingItems (1..50) and SettingTexts (1..200): what "tovenla.ini" holds, 1-based.
class Settings {
public:
    static constexpr int ItemCount = 50;
    static constexpr int TextCount = 200;

    // The values a fresh installation starts with.
    static Settings defaults();

    const SettingValue& item(int n) const;
    void setItem(int n, const SettingValue& value);
    QString itemText(int n) const { return item(n).text; }
    double itemNumber(int n) const { return item(n).toNumber(); }
    int itemInt(int n) const { return item(n).toRoundedInt(); }
    // On/off items are on exactly when they equal 1.
    bool itemIsOn(int n) const;
    // "*" as first character marks an item that was never set.
    bool itemIsUnset(int n) const { return itemText(n).startsWith(u'*'); }

    const QString& text(int n) const;
    void setText(int n, const QString& text);

    bool operator==(const Settings&) const = default;

private:
    std::array<SettingValue, ItemCount> items_{};
    std::array<QString, TextCount> texts_{};
};
