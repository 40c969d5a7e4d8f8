#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// "Special Print Settings": the font, characters per line, lines per page and font size the text reports
// print with, kept in PARMS_CL. "Return" stores them; the close box discards.
class SelectPrinter : public platform::Form {
    Q_OBJECT
public:
    SelectPrinter();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    ControlArray<QLineEdit> Text1;  // 0 characters per line (PCOLS), 1 lines per page (PLENGTH), 2 size (PFSIZE)
    QComboBox* Combo2;              // font name (DEFPRT), editable
    QGroupBox* FrameNotes;          // "Notes:"
    QLabel* Warning;
    QPushButton* Command1;          // "Return"

    static constexpr int kDefaultColumns = 90;
    static constexpr int kDefaultLines = 52;
    static constexpr int kDefaultSize = 10;
    static inline const QString kDefaultFont = QStringLiteral("Courier");
    // The smallest settings that still print a page: a line holds the page number, a page its head.
    static constexpr int kMinColumns = 6;
    static constexpr int kMinLines = 3;

    void Form_Load() override;
    void Command1_Click();

    // Whether the three boxes' texts can be printed with: empty (kept), or within the limits above.
    static bool acceptable(const QString& columns, const QString& lines, const QString& size);

private:
    void wire();
};
