#include "export/session/sessioncsv.h"

#include "export/ExprtInd.h"
#include "export/rules/exportrules.h"
#include "platform/dao/Error.h"

#include <QStringList>
#include <vector>

namespace sessioncsv {

namespace {

enum class Form {
    Quoted,
    ShortDesc,  // first 150 characters, quotes made blanks
    Notes,      // quotes made blanks, line breaks kept
    Number,     // general form; Null fails
    Rvu4,       // "#####.0000"; Null fails
    Rvu2,       // "#####.00"; Null fails
    Fee,        // "#0.00"; Null empty
    Bare,
    Empty,      // a header, never a value
};

// A schedule or frequency column: its header is the session's name for it.
constexpr int kNoName = -1;

struct AllColumn {
    const char* field;
    const char* caption;
    const char* source;
    Form form;
    int name = kNoName;  // 0..9: S1NAME..S5NAME, F1NAME..F5NAME in both header lines
    bool oppsFactor = false;
};

const std::vector<AllColumn>& allColumns()
{
    static const std::vector<AllColumn> columns = [] {
        std::vector<AllColumn> c{
            {"Tag", "Tag", "Tag", Form::Quoted},
            {"Codemod", "Code Mod", "CODEMOD", Form::Quoted},
            {"CPT", "CPT", "CPT", Form::Quoted},
            {"Mod", "Mod", "MOD", Form::Quoted},
            {"Status", "Status", "STATUS", Form::Quoted},
            {"NOTUSEDIND", " ", "NOTUSEDIND", Form::Quoted},
            {"Desc", "Description", "DESC", Form::ShortDesc},
            {"NFBPERVU", " ", nullptr, Form::Empty},
            {"NFRBPERVU", " ", "NFRBPERVU", Form::Number},
            {"NFTPERVU", "Practice Non Facility RVU", "NFTPERVU", Form::Rvu4},
            {"FBPERVU", " ", nullptr, Form::Empty},
            {"FRBPERVU", " ", "FRBPERVU", Form::Number},
            {"FTPERVU", "Practice Facility RVU", "FTPERVU", Form::Number},
            {"WORKRVU", "Work RVU", "WORKZ", Form::Number},
            {"MRVU", "Mal Practice RVU", "MRVU", Form::Number},
            {"NFRBTOTAL", " ", "NFRBTOTAL", Form::Number},
            {"NFTTOTAL", "Non Facility Total RVUs", "NFTTOTAL", Form::Number},
            {"FTTOTAL", "Facility Total RVUs", "FTTOTAL", Form::Number},
            {"QNPART", "Non Facility Par Fee", "NPART", Form::Fee},
            {"QNNPART", "Non Facility Non Par Fee", "NNPART", Form::Fee},
            {"QNLC", "Non Facility Limiting Fee", "NLC", Form::Fee},
            {"QFPART", "Facility Par Fee", "FPART", Form::Fee},
            {"QFNPART", "Facility Non Par Fee", "FNPART", Form::Fee},
            {"QFLC", "Facility Limiting Fee", "FLC", Form::Fee},
            {"Global", "GFP", "GLOBAL", Form::Bare},
        };
        static const char* const schedules[] = {"S1", "S2", "S3", "S4", "S5", "Freq1", "Freq2", "Freq3", "Freq4", "Freq5"};
        for (int i = 0; i < 10; ++i)
            c.push_back({nullptr, nullptr, schedules[i], Form::Bare, i});
        for (const char* flag : {"NAIND", "NAFIND", "PCTCIND", "PREOP", "INTRAOP", "POSTOP", "MULTPROC", "BILATSURG",
                                 "ASSTSURG", "COSURG", "TEAMSURG", "PHYSSUPV"})
            c.push_back({flag, flag, flag, Form::Quoted});
        c.push_back({"NON_PE_OPPS", "Non Facility Practice Expense OPPS", "NON_PE_OPPS", Form::Quoted, kNoName, true});
        c.push_back({"FAC_PE_OPPS", "Facility Practice Expense OPPS", "FAC_PE_OPPS", Form::Quoted, kNoName, true});
        c.push_back({"MAL_PE_OPPS", "Mal Practice Practice Expense OPPS", "MAL_PE_OPPS", Form::Quoted, kNoName, true});
        c.push_back({"ENDOBASE", "ENDOBASE", "ENDOBASE", Form::Quoted});
        c.push_back({"Long Desc", "Long Description", "LDESC", Form::Quoted});
        c.push_back({"Notes", "Notes", "NOTES", Form::Notes});
        c.push_back({"UserDefined", "UserDefined", "USRDF", Form::Quoted});
        return c;
    }();
    return columns;
}

struct DisplayedColumn {
    int grid;  // -1: always written
    const char* header;
    const char* source;
    Form form;
    int name = kNoName;
};

const std::vector<DisplayedColumn>& displayedColumns()
{
    static const std::vector<DisplayedColumn> columns = [] {
        std::vector<DisplayedColumn> c{
            {-1, "Tag", "Tag", Form::Quoted},
            {-1, "Codemod", "CODEMOD", Form::Quoted},
            {-1, "CPT", "CPT", Form::Quoted},
            {-1, "Mod", "MOD", Form::Quoted},
            {4, "Status", "STATUS", Form::Quoted},
            {5, "Short Desc", "DESC", Form::ShortDesc},
            {6, "Long Desc", "LDESC", Form::Quoted},
            {7, "Work RVU", "WORKZ", Form::Rvu2},
            {10, "Practice Non Facility RVU", "NFTPERVU", Form::Rvu2},
            {13, "Practice Facility RVU", "FTPERVU", Form::Rvu2},
            {14, "Mal Practice RVU", "MRVU", Form::Rvu2},
            {16, "Non Facility Total RVUs", "NFTTOTAL", Form::Rvu2},
            {18, "Facility Total RVUs", "FTTOTAL", Form::Rvu2},
            {19, "Non Facility Par Fee", "NPART", Form::Fee},
            {20, "Non Facility Non Par Fee", "NNPART", Form::Fee},
            {21, "Non Facility Limiting Fee", "NLC", Form::Fee},
            {22, "Facility Par Fee", "FPART", Form::Fee},
            {23, "Facility Non Par Fee", "FNPART", Form::Fee},
            {24, "Facility Limiting Fee", "FLC", Form::Fee},
            {25, "GFP", "GLOBAL", Form::Bare},
        };
        static const char* const schedules[] = {"S1", "S2", "S3", "S4", "S5", "Freq1", "Freq2", "Freq3", "Freq4", "Freq5"};
        for (int i = 0; i < 10; ++i)
            c.push_back({44 + i, nullptr, schedules[i], Form::Bare, i});
        c.push_back({57, "UserDefined", "USRDF", Form::Bare});
        return c;
    }();
    return columns;
}

const QString kRvu4 = QStringLiteral("#####.0000");
const QString kRvu2 = QStringLiteral("#####.00");

jet::TextField value(Form form, const dao::Variant& v)
{
    switch (form) {
    case Form::Quoted:
        return exportcsv::quoted(v);
    case Form::ShortDesc:
        return exportcsv::quoted(exportcsv::shortDescription(v));
    case Form::Notes:
        return exportcsv::quoted(exportcsv::quotesToBlanks(v));
    case Form::Number:
        return exportcsv::number(v);
    case Form::Rvu4:
        return exportcsv::patterned(v, kRvu4);
    case Form::Rvu2:
        return exportcsv::patterned(v, kRvu2);
    case Form::Fee:
        return exportcsv::fee(v);
    case Form::Bare:
        return exportcsv::bare(v);
    case Form::Empty:
        break;
    }
    return {QString(), false};
}

// A column of the rows and the form its value is written in; -1 for a column that never has a value.
struct Written {
    int field;
    Form form;
};

// The rows' positions of the written columns, found once by name.
std::vector<Written> resolve(dao::Recordset& rows, const std::vector<std::pair<const char*, Form>>& columns)
{
    std::vector<Written> out;
    out.reserve(columns.size());
    for (const auto& [source, form] : columns) {
        int field = -1;
        if (source) {
            const QString wanted = QString::fromLatin1(source);
            for (int i = 0; i < rows.FieldCount() && field < 0; ++i)
                if (rows.fieldName(i).compare(wanted, Qt::CaseInsensitive) == 0)
                    field = i;
            if (field < 0)
                throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
        }
        out.push_back({field, form});
    }
    return out;
}

QString nameText(const ScheduleNames& names, int name)
{
    return names[std::size_t(name)].toString();
}

// Counts the rows for the bar (no rows: 3021, as moving to the last row of none fails), writes a line per
// row, and fills the bar.
void writeRows(dao::Recordset& rows, exportcsv::CsvFile& file, const std::vector<Written>& columns, ExprtInd* progress)
{
    exportrules::startRows(rows, progress);
    std::vector<jet::TextField> line;
    line.reserve(columns.size() + 1);
    for (; !rows.EOF(); rows.MoveNext()) {
        line.clear();
        for (const Written& c : columns)
            line.push_back(c.field < 0 ? jet::TextField{} : value(c.form, rows.Fields(c.field).Value()));
        file.data(line);
        if (progress)
            progress->setPrg1Value(progress->prg1Value() + 1);
    }
}

}  // namespace

void writeAllColumns(dao::Recordset& rows, exportcsv::CsvFile& file, const ScheduleNames& names, bool opps,
                     ExprtInd* progress)
{
    QStringList fieldLine, captionLine;
    std::vector<std::pair<const char*, Form>> written;
    for (const AllColumn& c : allColumns()) {
        if (opps && c.oppsFactor)
            continue;
        fieldLine << (c.name == kNoName ? QString::fromLatin1(c.field) : nameText(names, c.name));
        captionLine << (c.name == kNoName ? QString::fromLatin1(c.caption) : nameText(names, c.name));
        written.emplace_back(c.source, c.form);
    }
    file.header(fieldLine);
    file.header(captionLine);
    writeRows(rows, file, resolve(rows, written), progress);
}

std::array<bool, 58> visibility(const dao::Variant& colvs)
{
    if (colvs.isNull())
        throw dao::Error(dao::errInvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    std::array<bool, 58> flags{};
    QString text = colvs.toString();
    std::size_t k = 0;
    // Entries past the 58th belong to no exported column.
    while (!text.isEmpty() && k < flags.size()) {
        const qsizetype comma = text.indexOf(QLatin1Char(','));
        const QString entry = comma < 0 ? text : text.left(comma);
        text = comma < 0 ? QString() : text.mid(comma + 1);
        const QString word = entry.trimmed();
        double n = 0;
        if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            flags[k] = true;
        else if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            flags[k] = false;
        else if (dao::parseNumber(word, &n))
            flags[k] = n != 0;
        else
            throw dao::Error(13, QStringLiteral("Type mismatch"));
        ++k;
    }
    return flags;
}

void writeDisplayedColumns(dao::Recordset& rows, exportcsv::CsvFile& file, const dao::Variant& colvs,
                           const ScheduleNames& names, ExprtInd* progress)
{
    const std::array<bool, 58> shown = visibility(colvs);
    QStringList header;
    std::vector<std::pair<const char*, Form>> written;
    for (const DisplayedColumn& c : displayedColumns()) {
        if (c.grid >= 0 && !shown[std::size_t(c.grid)])
            continue;
        header << (c.name == kNoName ? QString::fromLatin1(c.header) : nameText(names, c.name));
        written.emplace_back(c.source, c.form);
    }
    file.header(header);
    writeRows(rows, file, resolve(rows, written), progress);
}

}  // namespace sessioncsv
