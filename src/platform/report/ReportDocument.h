#pragma once

#include "platform/dao/Database.h"
#include "platform/dao/Variant.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;

// Report documents: a design of bands holding labels and fields placed in twips, run over the rows of one
// query and drawn onto US Letter pages. A report's start step may set texts and cancel; the rows are read
// once, at the run, so a document drawn later shows what was read then.
namespace platform::report {

struct Font {
    QString family = QStringLiteral("Arial");
    double points = 8;
    bool bold = false;
};

enum class Kind {
    Label,       // its text
    Field,       // the row's value of its column, through its format; unbound: its text
    PageNumber,  // the running page count, through its format
    GrandTotal,  // the sum of its column over every row (Null adds nothing), through its format
    Frame,       // a rectangle, no text
};

struct Control {
    QString name;
    Kind kind = Kind::Label;
    QString text;
    QString column;
    QString format;  // the platform's Format pattern; empty: the value as stored
    int left = 0, top = 0, width = 0, height = 0;  // twips from the band's top-left corner
    Font font;
    bool alignRight = false;
    bool wrap = false;  // the text breaks into lines within its width
};

struct Band {
    int height = 0;
    std::vector<Control> controls;
};

// A design: the five bands in print order and the print width in twips.
struct Design {
    QString title;
    int printWidth = 11904;
    Band reportHeader, pageHeader, detail, pageFooter, reportFooter;

    // The control of that name in any band; dao::Error 3265 when there is none.
    Control& control(const QString& name);
    const Control& control(const QString& name) const;
};

// One text or frame placed on a page, in twips from the page's top-left corner.
struct Item {
    QRectF rect;
    QString text;
    const Control* control = nullptr;  // font and alignment
    bool frame = false;
};

// A report run: the design with its texts as the start step left them and the rows read then, laid out into
// pages. Copyable only as a whole; shared between previews through shared_ptr.
class Document {
public:
    Document(Design design, QStringList columns, std::vector<std::vector<dao::Variant>> rows);
    Document(const Document&) = delete;  // its items point into its own design
    Document& operator=(const Document&) = delete;

    const Design& design() const { return design_; }
    const QStringList& columns() const { return columns_; }
    const std::vector<std::vector<dao::Variant>>& rows() const { return rows_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<Item>& page(int index) const { return pages_[static_cast<std::size_t>(index)]; }

    // Every text of a page, top to bottom and left to right; the lines of a page joined by '\n'.
    QStringList pageLines(int index) const;
    QString plainText() const;

    // Draws every page onto a printer set to US Letter (the printer's document begins and ends here).
    void print(QPrinter& printer) const;
    // Draws one page with the painter scaled to twips.
    void drawPage(QPainter& painter, int index) const;
    // Writes the document as a PDF file; false when the file cannot be written.
    bool writePdf(const QString& path) const;

    // US Letter in twips and the margins the pages keep.
    static constexpr int kPageWidth = 12240;
    static constexpr int kPageHeight = 15840;
    static constexpr int kTopMargin = 360;
    static constexpr int kBottomMargin = 360;
    int leftMargin() const;

private:
    void layout();
    QString textOf(const Control& c, const std::vector<dao::Variant>* row, int page) const;
    int columnIndex(const QString& name) const;

    Design design_;
    QStringList columns_;
    std::vector<std::vector<dao::Variant>> rows_;
    std::vector<std::vector<Item>> pages_;
    std::vector<dao::Variant> totals_;
};

// A report: its design, its record source, and the start step run before any row is read.
class Report {
public:
    explicit Report(Design design) : design_(std::move(design)) {}

    Design& design() { return design_; }
    Control& control(const QString& name) { return design_.control(name); }
    // A label's caption or a field's text.
    void setText(const QString& name, const QString& text) { design_.control(name).text = text; }

    void setRecordSource(const dao::Database& db, const QString& sql, std::vector<dao::Variant> params = {});
    // The record set of the record source, opened at the first call (the start step may test it for EOF).
    dao::Recordset& Recordset();
    void Cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    // The start step: sets texts, the record source, or cancels.
    std::function<void(Report&)> ReportStart;

    // Runs the start step and reads the rows once; null when the start cancelled. A failure to read the
    // rows is the layer's dao::Error.
    std::shared_ptr<const Document> Run();

private:
    Design design_;
    dao::Database db_;
    QString sql_;
    std::vector<dao::Variant> params_;
    std::unique_ptr<dao::Recordset> rs_;
    bool cancelled_ = false;
};

// Twips to the painter's device: the scale a painter on that device needs to draw in twips.
double twipsScale(const QPainter& painter);

}  // namespace platform::report
