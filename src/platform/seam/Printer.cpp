#include "platform/seam/Printer.h"

#include "platform/dao/Error.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace platform {

namespace {
[[noreturn]] void printerError()
{
    throw dao::Error(482, QStringLiteral("Printer error"));
}
}  // namespace

Printer::Printer(QString outputPdf) : outputPdf_(std::move(outputPdf)) {}

Printer::~Printer()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

QStringList Printer::Fonts() const
{
    return QFontDatabase::families();
}

void Printer::begin()
{
    if (painter_ && painter_->isActive())
        return;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!outputPdf_.isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(outputPdf_);
    } else if (!printerName_.isEmpty()) {
        printer_->setPrinterName(printerName_);
    }
    printer_->setPageSize(QPageSize(QPageSize::Letter));
    printer_->setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    printer_->setPageOrientation(orientation_ == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (failAtPage_ == 1)
        printerError();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get()))
        printerError();
    applyFont();
    y_ = 0;
    page_ = 1;
    pages_.emplace_back();
}

void Printer::applyFont()
{
    QFont font(fontName_);
    font.setPointSizeF(fontSize_ > 0 ? fontSize_ : 10);
    font.setBold(fontBold_);
    font.setStyleHint(QFont::TypeWriter);
    painter_->setFont(font);
}

void Printer::Write(const QString& text)
{
    begin();
    line_ += text;
}

void Printer::Tab(int n)
{
    begin();
    const int column = qMax(1, n) - 1;
    if (line_.size() > column)
        flushLine();
    line_ += QString(column - line_.size(), QLatin1Char(' '));
}

void Printer::Print(const QString& text)
{
    Write(text);
    flushLine();
}

void Printer::flushLine()
{
    applyFont();
    const QFontMetrics metrics = painter_->fontMetrics();
    if (y_ + metrics.height() > painter_->viewport().height() && !pages_.back().isEmpty())
        NewPage();
    painter_->drawText(0, y_ + metrics.ascent(), line_);
    pages_.back().push_back(line_);
    y_ += metrics.height();
    line_.clear();
}

void Printer::NewPage()
{
    begin();
    if (!line_.isEmpty())
        flushLine();
    if (failAtPage_ == page_ + 1 || !printer_->newPage())
        printerError();
    y_ = 0;
    ++page_;
    pages_.emplace_back();
}

void Printer::EndDoc()
{
    if (!painter_ || !painter_->isActive())
        return;
    if (!line_.isEmpty())
        flushLine();
    const bool ok = painter_->end();
    painter_.reset();
    printer_.reset();
    page_ = 0;
    if (!ok)
        printerError();
}

int Printer::ScaleHeight()
{
    QPrinter probe(QPrinter::HighResolution);
    probe.setPageSize(QPageSize(QPageSize::Letter));
    probe.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    probe.setPageOrientation(orientation_ == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QRectF page = probe.pageLayout().paintRect(QPageLayout::Inch);
    return static_cast<int>(page.height() * 1440);
}

int Printer::TextHeight()
{
    QFont font(fontName_);
    font.setPointSizeF(fontSize_ > 0 ? fontSize_ : 10);
    font.setBold(fontBold_);
    QFontMetricsF metrics(font);
    // Screen metrics are in pixels at the screen's resolution; a point is 20 twips.
    return static_cast<int>(metrics.height() * 72.0 / metrics.fontDpi() * 20.0 + 0.5);
}

}  // namespace platform
