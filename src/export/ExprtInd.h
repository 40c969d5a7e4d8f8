#pragma once

#include "platform/forms/Form.h"

#include <QLabel>
#include <QProgressBar>

// The progress window of the long runs (the exports, backup and restore). It has no behaviour of its
// own: a user loads it, sets its caption and texts, shows it without blocking, moves the bar and unloads
// it. Every load is a fresh window with the design texts and an empty bar.
class ExprtInd : public platform::Form {
    Q_OBJECT
public:
    ExprtInd();

    QLabel* Label2;  // "Exporting Information"
    // "Performing Backup", on the same line inside Label2's width. While both show, Label2 covers it: the
    // users that keep Label2 show their own line, those that hide it show Label1.
    QLabel* Label1;
    // The bar: its Max and Value (singles, Value kept between 0 and Max) are prg1Max()/setPrg1Max() etc.
    QProgressBar* prg1;

    double prg1Max() const { return max_; }
    double prg1Value() const { return value_; }
    void setPrg1Max(double max);
    void setPrg1Value(double value);

signals:
    // The bar's Max or Value was set.
    void prg1Changed(double max, double value);

private:
    void showBar();
    double max_ = 100;
    double value_ = 0;
};
