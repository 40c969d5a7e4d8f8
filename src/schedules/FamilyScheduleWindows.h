#pragma once

#include "schedules/FamilyScheduleWindow.h"

// The five family fee managers, each a class of its own so that it opens and closes by its own name.
class frmSchedulesDME final : public FamilyScheduleWindow {
    Q_OBJECT
public:
    frmSchedulesDME() : FamilyScheduleWindow(schedules::kScheduleFamilies[schedules::Dmepos]) {}
};

class frmSchedulesLAB final : public FamilyScheduleWindow {
    Q_OBJECT
public:
    frmSchedulesLAB() : FamilyScheduleWindow(schedules::kScheduleFamilies[schedules::Lab]) {}
};

class frmSchedulesJCD final : public FamilyScheduleWindow {
    Q_OBJECT
public:
    frmSchedulesJCD() : FamilyScheduleWindow(schedules::kScheduleFamilies[schedules::JCodes]) {}
};

class frmSchedulesASC final : public FamilyScheduleWindow {
    Q_OBJECT
public:
    frmSchedulesASC() : FamilyScheduleWindow(schedules::kScheduleFamilies[schedules::Asc]) {}
};

class frmSchedulesDRG final : public FamilyScheduleWindow {
    Q_OBJECT
public:
    frmSchedulesDRG() : FamilyScheduleWindow(schedules::kScheduleFamilies[schedules::Drg]) {}
};
