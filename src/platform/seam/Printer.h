#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QPrinter;

namespace platform {

// The program's text-line printer: a font, an orientation, lines printed top to bottom, new pages and
// the end of the document. The document begins with the first thing printed. A failure to start or
// continue the document throws dao::Error 482 "Printer error".
class Printer {
public:
    // outputPdf empty: the system's default printer; otherwise a PDF file (tests).
    explicit Printer(QString outputPdf = QString());
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    QStringList Fonts() const;
    int FontCount() const { return static_cast<int>(Fonts().size()); }
    QString FontName() const { return fontName_; }
    void setFontName(const QString& name) { fontName_ = name; }
    double FontSize() const { return fontSize_; }
    void setFontSize(double points) { fontSize_ = points; }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool bold) { fontBold_ = bold; }
    int Orientation() const { return orientation_; }  // 1 portrait, 2 landscape
    void setOrientation(int orientation) { orientation_ = orientation == 2 ? 2 : 1; }
    // The system printer the document goes to (the printer dialog's choice); empty: the default printer.
    QString PrinterName() const { return printerName_; }
    void setPrinterName(const QString& name) { printerName_ = name; }
    // Tests: starting page n of a document fails as a printer does (0: never).
    void failAtPage(int n) { failAtPage_ = n; }

    // Writes text at the current position without ending the line.
    void Write(const QString& text);
    // Spc(n): n blanks.
    void Spc(int n) { Write(QString(qMax(0, n), QLatin1Char(' '))); }
    // Tab(n): on to character column n (1-based); when the line already stands past it, column n of the next line.
    void Tab(int n);
    // Writes text and ends the line.
    void Print(const QString& text = QString());
    void NewPage();
    void EndDoc();

    // Printable height of a page and the height of a line of text in the current font, in twips.
    int ScaleHeight();
    int TextHeight();

    int Page() const { return page_; }
    // Every page printed since the object was made, as its text lines (what tests read).
    const std::vector<QStringList>& printedPages() const { return pages_; }
    // Where PDF output goes; empty for the system printer.
    void setOutputFile(const QString& pdf) { outputPdf_ = pdf; }
    QString outputFile() const { return outputPdf_; }

private:
    void begin();
    void applyFont();
    void flushLine();

    QString outputPdf_;
    QString printerName_;
    int failAtPage_ = 0;
    QString fontName_ = QStringLiteral("Courier");
    double fontSize_ = 10;
    bool fontBold_ = false;
    int orientation_ = 1;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QString line_;
    int y_ = 0;
    int page_ = 0;
    std::vector<QStringList> pages_;
};

}  // namespace platform
