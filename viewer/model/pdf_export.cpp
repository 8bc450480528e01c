#include "viewer/model/pdf_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>
#include <functional>

#include "viewer/core/exports/finished_file.h"
#include "viewer/core/files/error_text.h"

namespace viewer {

namespace {

constexpr double kSummaryFirstShare = 0.19;
// The header row holds two lines of its smaller font.
constexpr double kHeaderRows = 1.3;
// Title, header row, the rows, footer, in row heights.
constexpr double kRowsOnPage = 2.0 + kHeaderRows + kPdfRowsPerPage + 1.2;

const QColor kHeaderFill(0xDD, 0xE4, 0xEE);
const QColor kUnfinishedFill(0xFF, 0xF1, 0xD6);
const QColor kRule(0xA0, 0xA8, 0xB4);

struct Cell {
    QString text;
    bool alignRight = false;
};

class PageWriter {
public:
    PageWriter(QPagedPaintDevice& writer, QPainter& painter, int pageCount)
        : writer_(writer), painter_(painter), pageCount_(pageCount) {
        width_ = writer.width();
        rowHeight_ = writer.height() / kRowsOnPage;
        font_ = QFont("Liberation Sans");
        font_.setPixelSize(static_cast<int>(rowHeight_ * 0.5));
    }

    // Writes rows in pages of kPdfRowsPerPage under the heading and header.
    void WritePages(const QString& heading, const std::vector<double>& shares, const std::vector<Cell>& header,
                    int rowCount, const std::function<std::vector<Cell>(int)>& cellsOf,
                    const std::function<bool(int)>& highlighted) {
        int row = 0;
        do {
            StartPage(heading);
            double y = rowHeight_ * 2.0;
            DrawRow(y, rowHeight_ * kHeaderRows, shares, header, kHeaderFill, true);
            y += rowHeight_ * kHeaderRows;
            for (int onPage = 0; onPage < kPdfRowsPerPage && row < rowCount; ++onPage, ++row) {
                DrawRow(y, rowHeight_, shares, cellsOf(row), highlighted(row) ? kUnfinishedFill : QColor(), false);
                y += rowHeight_;
            }
            if (rowCount == 0) {
                painter_.setFont(font_);
                painter_.drawText(QRectF(0, y, width_, rowHeight_), Qt::AlignCenter, QObject::tr("Записей нет"));
            }
        } while (row < rowCount);
    }

    // A row of a table whose cells wrap: as tall as its tallest cell.
    struct WrappedRow {
        std::vector<Cell> cells;
        bool shaded = false;
        bool bold = false;
    };

    // Writes rows that wrap within their cells, as many to a page as fit,
    // every title and every word kept; the pages are counted first.
    void WriteWrappedPages(const QString& heading, const std::vector<double>& wanted, const std::vector<Cell>& header,
                           const std::vector<WrappedRow>& rows) {
        const std::vector<double> shares = FittedShares(wanted, header, rows);
        const double headerHeight = std::max(rowHeight_ * kHeaderRows, Height(shares, header, true));
        std::vector<double> heights;
        for (const WrappedRow& row : rows) heights.push_back(std::max(rowHeight_, Height(shares, row.cells, row.bold)));
        const double top = rowHeight_ * 2.0 + headerHeight;
        const double bottom = writer_.height() - rowHeight_ * 1.2;
        // The first row of each page.
        std::vector<std::size_t> pageStarts{0};
        double y = top;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (y + heights[r] > bottom && r > pageStarts.back()) {
                pageStarts.push_back(r);
                y = top;
            }
            y += heights[r];
        }
        pageCount_ = page_ + static_cast<int>(pageStarts.size());
        for (std::size_t p = 0; p < pageStarts.size(); ++p) {
            StartPage(heading);
            y = rowHeight_ * 2.0;
            DrawRow(y, headerHeight, shares, header, kHeaderFill, true);
            y += headerHeight;
            const std::size_t end = p + 1 < pageStarts.size() ? pageStarts[p + 1] : rows.size();
            for (std::size_t r = pageStarts[p]; r < end; ++r) {
                DrawRow(y, heights[r], shares, rows[r].cells, rows[r].shaded ? kHeaderFill : QColor(), rows[r].bold,
                        true);
                y += heights[r];
            }
            if (rows.empty()) {
                painter_.setFont(font_);
                painter_.drawText(QRectF(0, y, width_, rowHeight_), Qt::AlignCenter, QObject::tr("Записей нет"));
            }
        }
    }

private:
    // Every column at least as wide as the longest word of its title, the
    // rest of the width shared as wanted; the font shrinks where the
    // titles' words alone would not fit.
    std::vector<double> FittedShares(const std::vector<double>& wanted, const std::vector<Cell>& header,
                                     const std::vector<WrappedRow>& rows) {
        QFont bold = font_;
        bold.setBold(true);
        const QFontMetricsF metrics(bold, &writer_);
        std::vector<double> least(wanted.size(), 0);
        const double padding = rowHeight_ * 0.2;
        const auto fit = [&](std::size_t c, const QString& text, double most) {
            for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
                least[c] =
                    std::max(least[c], std::min(most, (metrics.horizontalAdvance(word) + 2 * padding + 1) / width_));
            }
        };
        for (std::size_t c = 0; c < wanted.size() && c < header.size(); ++c) fit(c, header[c].text, 1);
        // The cells' words too, such as a bank's fingerprint, as far as a
        // tenth of the page: a longer word may break.
        for (const WrappedRow& row : rows) {
            for (std::size_t c = 0; c < wanted.size() && c < row.cells.size(); ++c) fit(c, row.cells[c].text, 0.1);
        }
        double leastTotal = 0;
        for (const double share : least) leastTotal += share;
        if (leastTotal > 0.8) {
            // Smaller letters, to leave a fifth of the width to the texts.
            const double scale = 0.8 / leastTotal;
            font_.setPixelSize(std::max(1, static_cast<int>(font_.pixelSize() * scale)));
            for (double& share : least) share *= scale;
            leastTotal = 0.8;
        }
        std::vector<double> shares(wanted.size());
        double spare = 1 - leastTotal;
        double wantedTotal = 0;
        for (const double share : wanted) wantedTotal += share;
        for (std::size_t c = 0; c < wanted.size(); ++c) {
            shares[c] = least[c] + (wantedTotal > 0 ? spare * wanted[c] / wantedTotal : 0);
        }
        return shares;
    }

    // Word wrap, or wrap anywhere where a single word is wider than the cell.
    int WrapFlags(const QString& text, double width) const {
        for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
            if (painter_.fontMetrics().horizontalAdvance(word) > width) return Qt::TextWrapAnywhere;
        }
        return Qt::TextWordWrap;
    }

    double Height(const std::vector<double>& shares, const std::vector<Cell>& cells, bool bold) {
        QFont font = font_;
        font.setBold(bold);
        painter_.setFont(font);
        const double padding = rowHeight_ * 0.2;
        double tallest = 0;
        for (std::size_t c = 0; c < cells.size() && c < shares.size(); ++c) {
            const double width = shares[c] * width_ - 2 * padding;
            const QRectF needed = painter_.boundingRect(QRectF(0, 0, width, 1e6),
                                                        Qt::AlignLeft | WrapFlags(cells[c].text, width), cells[c].text);
            tallest = std::max(tallest, needed.height() + 2 * padding);
        }
        return tallest;
    }

    void StartPage(const QString& heading) {
        if (page_ > 0) writer_.newPage();
        ++page_;
        QFont title = font_;
        title.setPixelSize(static_cast<int>(rowHeight_ * 0.75));
        title.setBold(true);
        painter_.setFont(title);
        painter_.setPen(Qt::black);
        painter_.drawText(QRectF(0, 0, width_, rowHeight_ * 1.6), Qt::AlignLeft | Qt::AlignVCenter, heading);
        painter_.setFont(font_);
        painter_.setPen(QColor(0x55, 0x5B, 0x66));
        const QRectF footer(0, writer_.height() - rowHeight_, width_, rowHeight_);
        painter_.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                          QObject::tr("Страница %1 из %2").arg(page_).arg(pageCount_));
        painter_.drawText(
            footer, Qt::AlignLeft | Qt::AlignVCenter,
            QObject::tr("Калвена — результаты, %1").arg(QDateTime::currentDateTime().toString("dd.MM.yyyy hh:mm")));
    }

    void DrawRow(double y, double height, const std::vector<double>& shares, const std::vector<Cell>& cells,
                 const QColor& fill, bool bold, bool wrap = false) {
        if (fill.isValid()) painter_.fillRect(QRectF(0, y, width_, height), fill);
        QFont font = font_;
        font.setBold(bold);
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        const double padding = rowHeight_ * 0.2;
        double x = 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const double cellWidth = shares[c] * width_;
            const QRectF box(x + padding, y, cellWidth - 2 * padding, height);
            const int align = (cells[c].alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            if (wrap) {
                painter_.drawText(box, align | WrapFlags(cells[c].text, box.width()), cells[c].text);
            } else if (bold) {
                // Headers such as «Попыток не завершено» take two lines.
                painter_.drawText(box, align | Qt::TextWordWrap, cells[c].text);
            } else {
                painter_.drawText(
                    box, align,
                    painter_.fontMetrics().elidedText(cells[c].text, Qt::ElideRight, static_cast<int>(box.width())));
            }
            x += cellWidth;
        }
        painter_.setPen(QPen(kRule, rowHeight_ * 0.03));
        painter_.drawLine(QPointF(0, y + height), QPointF(width_, y + height));
    }

    QPagedPaintDevice& writer_;
    QPainter& painter_;
    int pageCount_;
    int page_ = 0;
    double width_ = 0;
    double rowHeight_ = 0;
    QFont font_;
};

int PagesFor(int rows) { return rows == 0 ? 1 : (rows + kPdfRowsPerPage - 1) / kPdfRowsPerPage; }

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString PdfTitle(const QStringList& files) {
    QStringList names;
    for (const QString& file : files) names << QFileInfo(file).fileName();
    names.removeDuplicates();
    return QObject::tr("Результаты тестирования: %1 — %2")
        .arg(names.join(", "), QDate::currentDate().toString("dd.MM.yyyy"));
}

QString SummaryTitle(Counting counting) {
    return counting == Counting::LastAttempt ? QObject::tr("Сводка (последняя попытка каждого студента)")
                                             : QObject::tr("Сводка (все попытки)");
}

void PaintResults(QPagedPaintDevice& device, QPainter& painter, const ExportData& data, const QString& title,
                  const QString& summaryTitle) {
    const int tallies = static_cast<int>(data.summary.platoons.size()) + 1;
    PageWriter pages(device, painter, PagesFor(static_cast<int>(data.rows.size())) + PagesFor(tallies));

    // The summary first: it is what the instructor reads, and it is short.
    std::vector<double> summaryShares(kSummaryColumnCount, (1.0 - kSummaryFirstShare) / (kSummaryColumnCount - 1));
    summaryShares[0] = kSummaryFirstShare;
    std::vector<Cell> summaryHeader;
    for (int c = 0; c < kSummaryColumnCount; ++c) {
        summaryHeader.push_back({QString::fromUtf8(SummaryColumnTitle(static_cast<SummaryColumn>(c))), c > 0});
    }
    pages.WritePages(
        summaryTitle, summaryShares, summaryHeader, tallies,
        [&](int row) {
            const Tally& tally =
                row + 1 < tallies ? data.summary.platoons[static_cast<std::size_t>(row)] : data.summary.overall;
            std::vector<Cell> cells;
            for (int c = 0; c < kSummaryColumnCount; ++c) {
                cells.push_back({FromUtf8(SummaryCellText(tally, static_cast<SummaryColumn>(c))), c > 0});
            }
            return cells;
        },
        [](int) { return false; });

    std::vector<double> shares;
    for (const ColumnDescription& column : kColumns) shares.push_back(column.pageShare);
    std::vector<Cell> header;
    for (int c = 0; c < kColumnCount; ++c) header.push_back({QString::fromUtf8(ColumnTitle(static_cast<Column>(c)))});
    pages.WritePages(
        title, shares, header, static_cast<int>(data.rows.size()),
        [&](int row) {
            std::vector<Cell> cells;
            for (int c = 0; c < kColumnCount; ++c) {
                const auto column = static_cast<Column>(c);
                const Row& shown = data.rows[static_cast<std::size_t>(row)];
                cells.push_back({FromUtf8(CellText(shown, column)), IsNumberColumn(column)});
            }
            return cells;
        },
        [&](int row) { return !data.rows[static_cast<std::size_t>(row)].attempt->Finished(); });
}

namespace {

// Opens the output, lets draw fill the pages and replaces the file only
// once it is written whole.
std::optional<std::string> WriteDocument(const std::filesystem::path& path, const QString& title,
                                         const std::function<void(QPdfWriter&, QPainter&)>& draw) {
    FinishedFile file(path);
    // Opened here rather than by the writer, which reports no reason.
    const int descriptor = ::open(file.Partial().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) return file.Failure(SystemErrorText(errno));
    QFile output;
    if (!output.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return file.Failure("");
    }
    {
        QPdfWriter writer(&output);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 10, 12, 10),
                                         QPageLayout::Millimeter));
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator("Калвена — результаты");
        QPainter painter;
        if (!painter.begin(&writer)) return file.Failure("");
        draw(writer, painter);
        if (!painter.end()) return file.Failure("");
    }
    if (!output.flush()) return file.Failure(SystemErrorText(errno));
    output.close();
    return file.Finish();
}

}  // namespace

std::optional<std::string> WritePdf(const std::filesystem::path& path, const ExportData& data, const QString& title,
                                    const QString& summaryTitle) {
    return WriteDocument(path, title, [&](QPdfWriter& writer, QPainter& painter) {
        PaintResults(writer, painter, data, title, summaryTitle);
    });
}

void PaintGrid(QPagedPaintDevice& device, QPainter& painter, const Grid& grid, const QString& title,
               const std::function<bool(std::size_t)>& bold) {
    PageWriter pages(device, painter, 1);
    double total = 0;
    for (const double width : grid.widths) total += width;
    std::vector<double> shares;
    std::vector<Cell> header;
    for (std::size_t c = 0; c < grid.titles.size(); ++c) {
        shares.push_back(c < grid.widths.size() && total > 0 ? grid.widths[c] / total : 1.0 / grid.titles.size());
        header.push_back({FromUtf8(grid.titles[c])});
    }
    std::vector<PageWriter::WrappedRow> rows;
    for (std::size_t r = 0; r < grid.rows.size(); ++r) {
        PageWriter::WrappedRow row;
        for (const GridCell& cell : grid.rows[r]) row.cells.push_back({FromUtf8(cell.text), cell.number.has_value()});
        row.shaded = r < grid.headings.size() && grid.headings[r];
        row.bold = row.shaded || (bold && bold(r));
        rows.push_back(std::move(row));
    }
    pages.WriteWrappedPages(title, shares, header, rows);
}

std::optional<std::string> WritePdf(const std::filesystem::path& path, const Grid& grid, const QString& title,
                                    const std::function<bool(std::size_t)>& bold) {
    return WriteDocument(path, title,
                         [&](QPdfWriter& writer, QPainter& painter) { PaintGrid(writer, painter, grid, title, bold); });
}

}  // namespace viewer
