#pragma once

#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/forms/controls.h"
#include "platform/dao/Database.h"

#include <QApplication>
#include <QFile>
#include <QSignalBlocker>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// A copy of the sample database in dir, its "Default" session current and on the first locality of LOCATION;
// nothing when the sample is missing.
inline std::optional<dao::Database> sampleOnFirstLocality(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("kelva.mdb");
    if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
        return std::nullopt;
    dao::Database db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
    db.Execute(QStringLiteral(
        "UPDATE SESSIONS SET (CURWORKGPCI, CURPRACGPCI, CURMALPGPCI, GEOLOC) = (SELECT WORK, PRACT, MALP, "
        "STATE || ' - ' || \"DESC\" FROM LOCATION ORDER BY CARRIER, LOCCODE LIMIT 1)"));
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET CURSES = 'Default'"));
    return db;
}

// The main window on db with the program folder folder, its data controls bound, shown offscreen in "KELVA" on
// code 99213.
inline std::unique_ptr<frmMain> mainOnSample(const dao::Database& db, const QString& folder)
{
    g() = Globals{};
    g().MainDb = db;
    g().CurSesTab = QStringLiteral("DATA0000");
    g().ProgramFolder = folder;
    // The start-up's first focus of the grid, which puts it on its first row, is over: the view switch below
    // gives the grid the focus and must leave it on the code.
    g().GridHadFocus = -1;
    auto main = std::make_unique<frmMain>();
    for (platform::DataControl* c : {&main->Data1, &main->Data2, &main->Data3, &main->Data5, &main->Data6,
                                     &main->Data7, &main->Data9, &main->Data13, &main->Default1})
        c->setDatabase(db);
    main->Data2.Refresh();
    main->Data3.Refresh();
    main->LoadSessionSettings();
    main->EnableViewsAndMenus();
    main->resize(1200, 800);
    main->show();
    main->Text1(0)->setText(QStringLiteral("99213"));
    platform::setListIndex(main->cmboCurrentView, 0);
    QApplication::processEvents();
    return main;
}

// A main window over `db` with the physician views only, every GPCI 1 and the grid on all codes.
// `gridFocusOver`: the start-up's first focus of the grid is over, so a later focus leaves it on its code.
inline std::unique_ptr<frmMain> physicianMainOn(const dao::Database& db, bool gridFocusOver)
{
    g() = Globals{};
    g().MainDb = db;
    g().CurSesTab = QStringLiteral("DATA0000");
    g().WorkAdjuster = 1.0;
    g().WorkGpci = g().PracGpci = g().MalpGpci = 1.0;
    g().ConvFactor = 37.3374;
    if (gridFocusOver)
        g().GridHadFocus = -1;
    auto main = std::make_unique<frmMain>();
    for (platform::DataControl* c : {&main->Data1, &main->Data2, &main->Data3})
        c->setDatabase(db);
    main->Data2.Refresh();
    main->Data3.setRecordSource(QStringLiteral("SESSIONS"));
    main->Data3.Refresh();
    platform::fillList(main->cmboCurrentView, {"KELVA", "KELVA OPPS"});
    {
        const QSignalBlocker quiet(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(0);
    }
    main->ViewAllRecs();
    return main;
}
