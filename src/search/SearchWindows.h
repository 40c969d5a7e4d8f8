#pragma once

#include "search/SearchWindow.h"

class frmSearch final : public SearchWindow {
    Q_OBJECT
public:
    frmSearch() : SearchWindow(kSearchFamilies[0]) {}
};
class frmSearchDME final : public SearchWindow {
    Q_OBJECT
public:
    frmSearchDME() : SearchWindow(kSearchFamilies[1]) {}
};
class frmSearchLAB final : public SearchWindow {
    Q_OBJECT
public:
    frmSearchLAB() : SearchWindow(kSearchFamilies[2]) {}
};
class frmSearchJCD final : public SearchWindow {
    Q_OBJECT
public:
    frmSearchJCD() : SearchWindow(kSearchFamilies[3]), Label1(lbl(0)) {}
    QLabel* Label1;  // this window's name of the search label
};
class frmSearchASC final : public SearchWindow {
    Q_OBJECT
public:
    frmSearchASC() : SearchWindow(kSearchFamilies[4]), Label1(lbl(0)) {}
    QLabel* Label1;
};
class frmSearchDRG final : public SearchWindow {
    Q_OBJECT
public:
    frmSearchDRG() : SearchWindow(kSearchFamilies[5]), Label1(lbl(0)) {}
    QLabel* Label1;
};
