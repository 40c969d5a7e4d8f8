#include "platform/report/ReportDocument.h"

#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/jetfunctions.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <map>

namespace platform::report {

namespace {

std::vector<Band*> bands(Design& d)
{
    return {&d.reportHeader, &d.pageHeader, &d.detail, &d.pageFooter, &d.reportFooter};
}

QFont qfont(const Font& f)
{
    QFont font(f.family);
    // The painter draws in twips: a point is 20 of them.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(f.points * 20))));
    font.setBold(f.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

bool isNumber(const dao::Variant& v)
{
    return v.type() == dao::Variant::Type::Long || v.type() == dao::Variant::Type::Double;
}

}  // namespace

Control& Design::control(const QString& name)
{
    for (Band* b : bands(*this))
        for (Control& c : b->controls)
            if (c.name == name)
                return c;
    throw dao::Error(3265, QStringLiteral("Item not found in this collection."));
}

const Control& Design::control(const QString& name) const
{
    return const_cast<Design&>(*this).control(name);
}

// ---- the document

Document::Document(Design design, QStringList columns, std::vector<std::vector<dao::Variant>> rows)
    : design_(std::move(design)), columns_(std::move(columns)), rows_(std::move(rows))
{
    layout();
}

int Document::leftMargin() const
{
    return std::max(180, (kPageWidth - design_.printWidth) / 2);
}

int Document::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Document::textOf(const Control& c, const std::vector<dao::Variant>* row, int page) const
{
    const auto formatted = [&](const dao::Variant& v) { return c.format.isEmpty() ? v.toString() : jet::format(v, c.format); };
    switch (c.kind) {
    case Kind::Label: return c.text;
    case Kind::Frame: return {};
    case Kind::PageNumber: return formatted(dao::Variant(qint64(page)));
    case Kind::GrandTotal: {
        const int col = columnIndex(c.column);
        return formatted(col < 0 ? dao::Variant(0.0) : totals_[static_cast<std::size_t>(col)]);
    }
    case Kind::Field: {
        if (c.column.isEmpty() || !row)
            return c.text;
        const int col = columnIndex(c.column);
        if (col < 0)
            return {};
        return formatted((*row)[static_cast<std::size_t>(col)]);
    }
    }
    return {};
}

void Document::layout()
{
    totals_.assign(static_cast<std::size_t>(columns_.size()), dao::Variant(0.0));
    for (const auto& row : rows_)
        for (std::size_t i = 0; i < row.size() && i < totals_.size(); ++i)
            if (isNumber(row[i]))
                totals_[i] = dao::Variant(totals_[i].toDouble() + row[i].toDouble());

    const int left = leftMargin();
    const int bottom = kPageHeight - kBottomMargin;
    int y = kTopMargin;
    const auto place = [&](const Band& band, const std::vector<dao::Variant>* row) {
        auto& items = pages_.back();
        const int page = static_cast<int>(pages_.size());
        for (const Control& c : band.controls) {
            Item item;
            item.rect = QRectF(left + c.left, y + c.top, c.width, c.height);
            item.control = &c;
            item.frame = c.kind == Kind::Frame;
            item.text = textOf(c, row, page);
            if (item.frame || !item.text.isEmpty())
                items.push_back(std::move(item));
        }
        y += band.height;
    };
    const auto newPage = [&](bool first) {
        if (!first) {
            y = bottom - design_.pageFooter.height;
            place(design_.pageFooter, nullptr);
        }
        pages_.emplace_back();
        y = kTopMargin;
        if (first)
            place(design_.reportHeader, nullptr);
        place(design_.pageHeader, nullptr);
    };
    const int footer = design_.pageFooter.height;
    newPage(true);
    for (const auto& row : rows_) {
        if (y + design_.detail.height > bottom - footer)
            newPage(false);
        place(design_.detail, &row);
    }
    if (y + design_.reportFooter.height > bottom - footer)
        newPage(false);
    place(design_.reportFooter, nullptr);
    y = bottom - footer;
    place(design_.pageFooter, nullptr);
}

QStringList Document::pageLines(int index) const
{
    std::vector<const Item*> items;
    for (const Item& i : page(index))
        if (!i.frame)
            items.push_back(&i);
    std::stable_sort(items.begin(), items.end(), [](const Item* a, const Item* b) {
        return a->rect.top() != b->rect.top() ? a->rect.top() < b->rect.top() : a->rect.left() < b->rect.left();
    });
    QStringList lines;
    double top = -1;
    for (const Item* i : items) {
        // Texts whose tops lie within a small step of each other stand on one line.
        if (lines.isEmpty() || i->rect.top() - top > 60) {
            lines << i->text;
            top = i->rect.top();
        } else {
            lines.back() += QStringLiteral(" | ") + i->text;
        }
    }
    return lines;
}

QString Document::plainText() const
{
    QStringList pages;
    for (int p = 0; p < pageCount(); ++p)
        pages << pageLines(p).join(QLatin1Char('\n'));
    return pages.join(QStringLiteral("\n\f\n"));
}

double twipsScale(const QPainter& painter)
{
    return painter.device()->logicalDpiX() / 1440.0;
}

void Document::drawPage(QPainter& painter, int index) const
{
    painter.save();
    const double scale = twipsScale(painter);
    painter.scale(scale, scale);
    const Control* fontOf = nullptr;
    std::map<const Control*, QFont> fonts;
    for (const Item& item : page(index)) {
        if (item.frame) {
            continue;  // frames only group their texts; the design draws no border
        }
        const Control& c = *item.control;
        if (fontOf != &c) {
            auto it = fonts.find(&c);
            if (it == fonts.end())
                it = fonts.emplace(&c, qfont(c.font)).first;
            painter.setFont(it->second);
            fontOf = &c;
        }
        int flags = (c.alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        if (c.wrap)
            flags |= Qt::TextWordWrap;
        const QFontMetricsF fm(painter.font());
        if (!c.wrap && fm.horizontalAdvance(item.text) > item.rect.width()) {
            // A value wider than its field is cut at the field's edge, never drawn over its neighbour.
            painter.save();
            painter.setClipRect(item.rect.adjusted(0, 0, 0, fm.height()));
            painter.drawText(item.rect.adjusted(0, 0, c.alignRight ? 0 : 2000, fm.height()),
                             (flags & ~Qt::AlignRight) | Qt::AlignLeft, item.text);
            painter.restore();
        } else {
            painter.drawText(item.rect.adjusted(0, 0, 0, c.wrap ? 0 : fm.height()), flags, item.text);
        }
    }
    painter.restore();
}

void Document::print(QPrinter& printer) const
{
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        throw dao::Error(482, QStringLiteral("Printer error"));
    for (int p = 0; p < pageCount(); ++p) {
        if (p > 0)
            printer.newPage();
        drawPage(painter, p);
    }
    painter.end();
}

bool Document::writePdf(const QString& path) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(1440);
    try {
        print(printer);
    } catch (const dao::Error&) {
        return false;
    }
    return true;
}

// ---- the report

void Report::setRecordSource(const dao::Database& db, const QString& sql, std::vector<dao::Variant> params)
{
    db_ = db;
    sql_ = sql;
    params_ = std::move(params);
    rs_.reset();
}

dao::Recordset& Report::Recordset()
{
    if (!rs_)
        rs_ = std::make_unique<dao::Recordset>(db_.OpenRecordset(sql_, params_));
    return *rs_;
}

std::shared_ptr<const Document> Report::Run()
{
    cancelled_ = false;
    rs_.reset();
    if (ReportStart)
        ReportStart(*this);
    if (cancelled_) {
        rs_.reset();
        return nullptr;
    }
    QStringList columns;
    std::vector<std::vector<dao::Variant>> rows;
    if (!sql_.isEmpty()) {
        dao::Recordset& rs = Recordset();
        const int n = rs.FieldCount();
        for (int c = 0; c < n; ++c)
            columns << rs.fieldName(c);
        rows.reserve(static_cast<std::size_t>(rs.rowCount()));
        for (int r = 0; r < rs.rowCount(); ++r) {
            std::vector<dao::Variant> row;
            row.reserve(static_cast<std::size_t>(n));
            for (int c = 0; c < n; ++c)
                row.push_back(rs.cell(r, c));
            rows.push_back(std::move(row));
        }
        rs_.reset();
    }
    return std::make_shared<const Document>(design_, std::move(columns), std::move(rows));
}

}  // namespace platform::report
