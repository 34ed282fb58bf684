#pragma once

#include "xlsx/cell_ref.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// A picture's place on a sheet, in points from the sheet's top left corner.
struct PictureRect {
    double left = 0, top = 0, width = 0, height = 0;
};

// Looks of a cell, for building templates.
struct CellStyle {
    QString fontName;                                              // empty: the Normal font
    double fontSize = 0;                                           // 0: the Normal font's size
    bool left = false, right = false, top = false, bottom = false; // thin lines on these sides
    bool verticalCenter = false;
    bool shrinkToFit = false;
};

// The font of a workbook's Normal style, which also sets what its column widths mean.
struct StandardFont {
    QString name = QStringLiteral("Calibri");
    double size = 11;
};

struct PageSetup {
    bool landscape = false;
    int paperSize = 9; // 8 A3, 9 A4
    int scale = 100;
    double marginInches = 0.4;
    bool fitToWidth = false;
};

// The spreadsheet operations the reports use, on an Office Open XML workbook held in memory.
// Rows, columns and sheet indexes count from 1. Most operations work on the active sheet.
// Failures throw AppError with a message for the user.
class Workbook {
public:
    // Reads an .xlsx file; the file itself is never written.
    static Workbook open(const QString& path);
    static Workbook fromBytes(const QByteArray& bytes, const QString& label);
    // A new workbook with these sheets and this standard (Normal) font.
    static Workbook createBlank(const QStringList& sheetNames, const StandardFont& font = StandardFont());

    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    // Sheets.
    int sheetCount() const;
    QString sheetName(int index) const;
    int sheetIndex(const QString& name) const; // 0 when no sheet has that name (any letter case)
    void activate(int index);
    int activeSheet() const;
    // Turns a finished sheet back into its bytes and frees its tree, so that a book of many
    // sheets holds one or two trees at a time; the sheet is read again if it is touched.
    void setAside(int index);
    // Copies the sheet, drawings included, and places the copy before it; answers the copy's
    // index. The copy is named "NAME (2)", or the next number free.
    int copySheetBefore(int index);
    void renameSheet(int index, const QString& name);
    void deleteSheet(int index);
    // Empty when the name may be given to a sheet, else why not.
    QString sheetNameProblem(const QString& name, int renamedIndex = 0) const;
    // A valid, unused name made from any text: "_" for the characters sheets refuse, cut to
    // 31 characters, " (2)" and on when taken.
    QString validSheetName(const QString& wanted) const;

    // Rows of the active sheet: like copying whole rows and pasting them, the target rows take
    // the source's values, styles, heights, merges, page breaks and the drawings lying wholly
    // inside the source rows.
    void copyRows(int first, int last);
    void pasteRows(int at);
    // Removes the rows; what lies below moves up.
    void deleteRows(int first, int last);

    // Cells of the active sheet. Text is always stored as text, cut to the MaxCellText
    // characters a cell holds; shortenedNote() says where that happened.
    static constexpr int MaxCellText = 32767;
    void setText(int row, int column, const QString& text);
    void setNumber(int row, int column, double value, const QString& numberFormat = {});
    // The value as shown without formatting; a formula's stored result.
    QString cellText(int row, int column) const;
    void selectCell(int row, int column);
    // Empty, or a note naming every cell whose text was cut, where it is now.
    QString shortenedNote() const;
    // Hairline bottom borders on every cell of the range.
    void setBottomHairline(int firstRow, int firstColumn, int lastRow, int lastColumn);

    // A rectangle filled with the image, stretched, with a white outline. extension is the
    // image's kind: "jpeg", "png" or "gif".
    void addPicture(const PictureRect& rect, const QByteArray& image, const QString& extension);
    struct Picture {
        PictureRect rect;
        QByteArray image;
    };
    QList<Picture> pictures() const;

    // Layout of the active sheet, in points.
    double rowHeight(int row) const;
    void setRowHeight(int row, double points);
    double columnWidth(int column) const;
    // width in the file's character units.
    void setColumnWidth(int column, double width);
    QList<CellRef::Range> merges() const;
    void mergeCells(const CellRef::Range& range);
    QList<int> rowBreaks() const; // a break after each row listed
    void addRowBreak(int afterRow);
    void setPageSetup(const PageSetup& setup);
    PageSetup pageSetup() const;
    // The active sheet prints rows 1..lastRow across columns 1..lastColumn, or for 0 across the
    // columns its cells and pictures use, whatever else its cells' text would spill into.
    void setPrintArea(int lastRow, int lastColumn = 0);
    // The last column of the active sheet's print area; 0 without one.
    int printAreaLastColumn() const;
    int addCellStyle(const CellStyle& style);
    void setCellStyle(int row, int column, int style);
    int lastRow() const;

    QByteArray toBytes() const;
    // Written whole to a temporary file and renamed into place; a failure is told under SaveFailed.
    void save(const QString& path) const;
    static const QString SaveFailed; // "ブックを保存できません。"

    struct Impl;

private:
    explicit Workbook(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};
