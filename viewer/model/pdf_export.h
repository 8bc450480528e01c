#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "viewer/core/exports/export.h"

namespace viewer {

// Table rows on one landscape A4 page; the table starts on a page of its
// own, after the summary.
inline constexpr int kPdfRowsPerPage = 30;

// Headings of the table and the summary pages for the open files.
QString PdfTitle(const QStringList& files);
QString SummaryTitle(Counting counting);

// The summary, then the table, on the pages of `device` (a PDF file or a
// printer), each page headed by its part's title; `painter` is active on it.
void PaintResults(QPagedPaintDevice& device, QPainter& painter, const ExportData& data, const QString& title,
                  const QString& summaryTitle);

// The summary, then the table, as a PDF, each page headed by its part's title.
// Returns an error message (Russian, UTF-8), or nothing on success.
std::optional<std::string> WritePdf(const std::filesystem::path& path, const ExportData& data, const QString& title,
                                    const QString& summaryTitle);
// Any table of the exports on the pages of `device`, its heading rows
// shaded and in bold, the rows `bold` picks in bold; every cell's text
// whole, wrapped within its column. `painter` is active on it.
void PaintGrid(QPagedPaintDevice& device, QPainter& painter, const Grid& grid, const QString& title,
               const std::function<bool(std::size_t)>& bold = {});
// The same as a PDF.
std::optional<std::string> WritePdf(const std::filesystem::path& path, const Grid& grid, const QString& title,
                                    const std::function<bool(std::size_t)>& bold = {});

}  // namespace viewer
