#include "settings/ui/phrase_print.h"

#include "workspace/phrase_book.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

constexpr double TwipsPerPoint = 20.0;
// Left, top, right, bottom, in twips.
constexpr double Margins[] = {1000, 500, 250, 500};

} // namespace

int printPhrases(const PhraseBook& phrases, QPagedPaintDevice& device) {
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(Margins[0] / TwipsPerPoint, Margins[1] / TwipsPerPoint,
                                    Margins[2] / TwipsPerPoint, Margins[3] / TwipsPerPoint),
                          QPageLayout::Point);
    int lastRow = 1;
    for (int n = 1; n <= PhraseBook::Count; ++n)
        if (!phrases.phrase(n).isEmpty()) lastRow = n;

    QPainter painter(&device);
    const QRect page = painter.viewport();
    const QFontMetrics metrics = painter.fontMetrics();
    const int rowHeight = metrics.height() * 3 / 2;
    const int numberWidth = metrics.horizontalAdvance(u"0000"_s) + metrics.averageCharWidth() * 2;
    const int rowsPerPage = std::max(1, page.height() / rowHeight - 1);

    auto cell = [&](const QRect& rect, const QString& text, bool header) {
        if (header) painter.fillRect(rect, QColor(0xE0, 0xE0, 0xE0));
        painter.drawRect(rect);
        const int flags = (header ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextSingleLine;
        painter.drawText(rect.adjusted(metrics.averageCharWidth() / 2, 0, 0, 0), flags,
                         metrics.elidedText(text, Qt::ElideRight, rect.width()));
    };

    int pages = 0;
    for (int first = 1; first <= lastRow; first += rowsPerPage) {
        if (pages > 0) device.newPage();
        ++pages;
        int y = 0;
        cell(QRect(0, y, numberWidth, rowHeight), QString(), true);
        cell(QRect(numberWidth, y, page.width() - numberWidth - 1, rowHeight), u"文字列"_s, true);
        for (int n = first; n <= std::min(lastRow, first + rowsPerPage - 1); ++n) {
            y += rowHeight;
            cell(QRect(0, y, numberWidth, rowHeight), QString::number(n), true);
            cell(QRect(numberWidth, y, page.width() - numberWidth - 1, rowHeight), phrases.phrase(n), false);
        }
    }
    return pages;
}
