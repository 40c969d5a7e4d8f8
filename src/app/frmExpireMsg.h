#pragma once

#include "platform/forms/Form.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QPushButton>

// The data-age reminder: the order reminder before 1 January 2015, the old-data notice from then on. The
// caller may put a notice of its own into Label2 before showing it modally.
class frmExpireMsg : public platform::Form {
    Q_OBJECT
public:
    frmExpireMsg();

    QLabel* Label2;      // "KELVA Morvex Warning:" or the caller's notice
    QLabel* Label1;
    QCheckBox* Check1;   // "Do not show this message again."
    QPushButton* Command1;  // "Continue"

    void Form_Load() override;
    void Command1_Click();

    // From this day on the fee data counts as old.
    static QDate oldDataDate() { return QDate(2015, 1, 1); }

private:
    void wire();
};
