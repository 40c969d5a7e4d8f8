#include "export/menu/exportmenu.h"

namespace exportmenu {
namespace {

QString note(const QString& first, const QString& second)
{
    return first + QChar(13) + QChar(13) + second;
}

const QString kExcelLine = QStringLiteral("For Microsoft Excel spreadsheets use the CSV format.");

const Setting* table()
{
    // Items 1 to 5 show the tagged choice again: a window still open from a locality or ZIP code export has it
    // hidden, and a family export must be able to offer its tagged codes.
    static const Setting rows[] = {
        {1, "frmExportOther", QStringLiteral("DMEPOS Export"), QStringLiteral("All DMEPOS Codes"), false,
         QStringLiteral("Tagged DMEPOS Codes"), TaggedChoice::Shown,
         note(QStringLiteral("DMEPOS export allows two file formats: CSV and Microsoft Access"), kExcelLine), 0},
        {2, "frmExportOther", QStringLiteral("Lab Fees Export"), QStringLiteral("All Lab Fees Codes"), false,
         QStringLiteral("Tagged Lab Fees Codes"), TaggedChoice::Shown,
         note(QStringLiteral("Lab Fees export allows two file formats: CSV and Microsoft Access"), kExcelLine), 1},
        {3, "frmExportOther", QStringLiteral("J-Codes Export"), QStringLiteral("All J-Codes"), false,
         QStringLiteral("Tagged J-Codes"), TaggedChoice::Shown,
         note(QStringLiteral("J-Codes export allows two file formats: CSV and Microsoft Access"),
              QStringLiteral("For Microsoft Excel spreadsheets use CSV format.")), 2},
        {4, "frmExportOther", QStringLiteral("ASC Codes Export"), QStringLiteral("All ASC Codes"), false,
         QStringLiteral("Tagged ASC Codes"), TaggedChoice::Shown,
         note(QStringLiteral("ASC export allows two file formats: CSV and Microsoft Access"), kExcelLine), 3},
        {5, "frmExportOther", QStringLiteral("DRG Export"), QStringLiteral("All DRG Codes"), false,
         QStringLiteral("Tagged DRG Codes"), TaggedChoice::Shown,
         note(QStringLiteral("DRG export allows two file formats: CSV and Microsoft Access"), kExcelLine), 4},
        {6, "frmExportOther", QStringLiteral("Locality Export"), QStringLiteral("All Locality Codes"), true,
         QString(), TaggedChoice::Hidden,
         note(QStringLiteral("Locality export allows two file formats: CSV and Microsoft Access"), kExcelLine), 5},
        {7, "frmExportOther", QStringLiteral("Zip Codes Export"), QStringLiteral("All Zip Codes"), true,
         QString(), TaggedChoice::Hidden,
         note(QStringLiteral("Zip Codes export allows two file formats: CSV and Microsoft Access"), kExcelLine), 6},
        {8, "frmExportOPPS", QStringLiteral("OPPS Export"), QStringLiteral("All codes"), true,
         QStringLiteral("Tagged Codes Only"), TaggedChoice::Shown,
         note(QStringLiteral("OPPS export allows two file formats: CSV and Microsoft Access"), kExcelLine), -1},
    };
    return rows;
}

} // namespace

const Setting* setting(int index)
{
    if (index < 1 || index > 8)
        return nullptr;
    return &table()[index - 1];
}

} // namespace exportmenu
