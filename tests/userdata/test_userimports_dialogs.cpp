// The File menu's schedule import as a person runs it: the program's own message boxes and file dialog
// (no scripted answers), a workbook and then a dBASE table. With KELVA_SHOTS set, pictures of each step.
#include "userdata/ImportFixture.h"

#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "support/ReadableTexts.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

using dao::Variant;

class PersonImports : public ImportWindows {
protected:
    // Answers the program's own dialogs as they come up: each message box with OK, the file dialog by
    // typing the file's full path; records the message texts.
    void answerDialogs(const QString& file, const QString& shotPrefix)
    {
        int step = 0;
        QTimer timer;
        timer.setInterval(50);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            testsupport::saveShot(modal, QStringLiteral("%1_%2").arg(shotPrefix).arg(++step));
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                messages << box->text();
                EXPECT_EQ(testsupport::cutTexts(box), QStringList());
                box->button(QMessageBox::Ok)->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                EXPECT_EQ(dialog->windowTitle(), "Select the file to import from.");
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(file);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        timer.start();
        main().mnufile(0)->trigger();
        timer.stop();
    }
    QStringList messages;
};

TEST_F(PersonImports, WorkbookThenDbaseThroughTheRealDialogs)
{
    write("fees.xls", jet::biff4WithRows(jet::biff4Template({"CPT", "S1"}), 1, {{Variant("99213"), Variant(31.5)}},
                                         false, "x"));
    cptS1Dbf("fees.dbf", {{Variant("99213"), Variant(42.25)}});
    platform::Seam* scripted = platform::setSeam(nullptr);
    main().Show();
    QApplication::processEvents();

    // The grid on 99213 and its S1 column, as the grid shows it.
    auto gridS1 = [&] {
        main().Data1.Recordset().FindFirst("CODEMOD = ?", {QStringLiteral("99213")});
        platform::DBGrid* grid = main().dbg;
        for (int c = 0; c < grid->ColumnCount(); ++c)
            if (grid->Columns(c).DataField().compare("S1", Qt::CaseInsensitive) == 0) {
                grid->setCol(c);
                QApplication::processEvents();
                return grid->cellText(grid->currentRow(), c);
            }
        return QStringLiteral("<no S1 column>");
    };
    answerDialogs(path("fees.xls"), "import_xls");
    EXPECT_EQ(messages.value(0).left(30), "Note: Import Schedules is desi");
    EXPECT_EQ(messages.value(1), "File imported successfully");
    EXPECT_EQ(gridS1(), "31.50");
    QApplication::processEvents();
    testsupport::saveShot(&main(), "import_xls_grid");

    messages.clear();
    answerDialogs(path("fees.dbf"), "import_dbf");
    EXPECT_EQ(messages.value(1), "File Imported Successfully");
    EXPECT_EQ(gridS1(), "42.25");
    QApplication::processEvents();
    testsupport::saveShot(&main(), "import_dbf_grid");
    platform::setSeam(scripted);
}

}  // namespace
