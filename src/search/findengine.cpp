#include "search/findengine.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "search/SearchWindow.h"
#include "search/othertables.h"

namespace search {

using platform::SetBusyCursor;

// A DRG is compared as the three-digit text the DRG view shows, so "001" finds DRG 1.
const FindFamily kFindFamilies[FamilyCount] = {
    {"KELVA", "frmSearch", &frmMain::Data1, &frmMain::dbg, 0, "(CPT%L OR [Desc]%L OR [LDesc]%L)", "CPT%L",
     "([Desc]%L OR [LDesc]%L)", " and [Desc] not Like ?", true},
    // No parentheses here: with an exclusion, a row whose code matches is found whatever its description says.
    {"DME", "frmSearchDME", &frmMain::Data5, &frmMain::DBGrid1, 2, "HCPCS%L OR Description%L", "HCPCS%L",
     "Description%L", " and ([Description] not Like ?)", false},
    {"LAB", "frmSearchLAB", &frmMain::Data6, &frmMain::DBGrid2, 3, "(HCPCS%L OR Description%L)", "(HCPCS%L)",
     "(Description%L)", " and ([Description] not Like ?)", false},
    {"JCD", "frmSearchJCD", &frmMain::Data7, &frmMain::DBGrid3, 4, "(HCPCS%L OR Description%L)", "(HCPCS%L)",
     "(Description%L)", " and ([Description] not Like ?)", false},
    {"ASC", "frmSearchASC", &frmMain::Data13, &frmMain::DBGrid4, 5, "(CODE%L OR [DESC]%L)", "(CODE%L)", "([DESC]%L)",
     " and ([Desc] not Like ?)", false},
    {"DRG", "frmSearchDRG", &frmMain::Data9, &frmMain::DBGrid5, 6, "(format(DRG, '000')%L OR [DESC]%L)",
     "(format(DRG, '000')%L)", "([DESC]%L)", " and ([Desc] not Like ?)", false},
};

QString literalPattern(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('[')) {
            out += QLatin1Char('[');
            out += c;
            out += QLatin1Char(']');
        } else {
            out += c;
        }
    }
    return out;
}

Criterion findCriterion(const FindFamily& family, QChar fields, const QString& pattern, const QString& exclusion)
{
    const char* shape = fields == QLatin1Char('*')   ? family.both
                        : fields == QLatin1Char('1') ? family.codeOnly
                                                     : family.descOnly;
    Criterion c;
    c.text = QString::fromLatin1(shape);
    const qsizetype n = c.text.count(QStringLiteral("%L"));
    c.text.replace(QStringLiteral("%L"), QStringLiteral(" Like ?"));
    c.params.assign(std::size_t(n), dao::Variant(pattern));
    if (!exclusion.isEmpty()) {
        c.text += QString::fromLatin1(family.exclusion);
        c.params.emplace_back(QLatin1Char('*') + exclusion + QLatin1Char('*'));
    }
    return c;
}

namespace {

QString trimmedRight(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n);
}

SearchWindow& findWindow(const FindFamily& family)
{
    return *static_cast<SearchWindow*>(forms().getByName(QString::fromLatin1(family.window)));
}

// Nothing matched: the other families that hold the window's text are offered.
void OfferOtherTables(const FindFamily& family, int choice)
{
    SearchWindow& w = findWindow(family);
    const QString field = w.Option2(0)->isChecked() ? QStringLiteral("*")
                          : w.Option2(1)->isChecked() ? QStringLiteral("1")
                                                       : QStringLiteral("2");
    g().FoundInTables.clear();
    g().FoundInTables = FindInOtherTables(w.Combo1->currentText(), field, QString::fromLatin1(family.code));
    if (g().FoundInTables.isEmpty()) {
        seam().MsgBox(QStringLiteral("Finished searching the records; Item not found"), vbOKOnly);
        return;
    }
    const int answer = seam().MsgBox(QStringLiteral("There were no more items found in the current table. The item") +
                                         QStringLiteral(" was found in table(s): ") + g().FoundInTables +
                                         QStringLiteral(".  Do you wish to switch to") +
                                         QStringLiteral(" one of the other tables?"),
                                     vbYesNo);
    if (answer != vbYes)
        return;
    ChooseOtherTable(choice);
    if (platform::Form* own = forms().loadedByName(QString::fromLatin1(family.window)))
        own->Unload();
}

}  // namespace

void FindCode(Family which, const QString& SearchText, const QString& SearchMode, int ExcludeOn, int ExcludeBlank,
              const QString& ExcludeText)
{
    FindCode(forms().get<frmMain>(), which, SearchText, SearchMode, ExcludeOn, ExcludeBlank, ExcludeText);
}

void FindCode(frmMain& main, Family which, const QString& SearchText, const QString& SearchMode, int ExcludeOn,
              int ExcludeBlank, const QString& ExcludeText)
{
    const FindFamily& family = kFindFamilies[which];
    Globals::RememberedSearch& memory = g().FindMemory[std::size_t(which)];
    platform::DataControl& data = main.*family.data;

    SetBusyCursor(11);
    const qint64 saved = data.hasCurrentRecord() ? data.Recordset().AbsolutePosition() : -1;

    if (SearchMode == QLatin1String("-----") || (SearchText.isEmpty() && memory.LastSearchText.isEmpty())) {
        memory.LastSearchText.clear();
        SetBusyCursor(0);
        return;
    }
    const QString text = SearchText.isEmpty() ? memory.LastSearchText : SearchText;
    QString mode = SearchMode;
    if (mode.size() == 5)
        memory.LastSearchOptions = mode;
    else
        mode = memory.LastSearchOptions.size() == 5 ? memory.LastSearchOptions : QStringLiteral("00A00");

    QString pattern = literalPattern(text);
    if (mode[1] == QLatin1Char('0'))
        pattern = QLatin1Char('*') + pattern + QLatin1Char('*');
    const bool exclude = ExcludeOn == -1 && ExcludeBlank == 0;
    const Criterion c = findCriterion(family, mode[2], pattern, exclude ? trimmedRight(ExcludeText) : QString());
    const QChar direction = mode[3];

    bool matched = false;
    try {
        dao::Recordset& rs = data.Recordset();
        if (direction == QLatin1Char('0') && text != memory.LastSearchText)
            rs.FindFirst(c.text, c.params);
        else if (family.fromTop && findWindow(family).Option1(0)->isChecked())
            rs.FindFirst(c.text, c.params);
        else if (direction < QLatin1Char('2'))
            rs.FindNext(c.text, c.params);
        else
            rs.FindPrevious(c.text, c.params);
        matched = !rs.NoMatch();
    } catch (const dao::Error& e) {
        // A criterion the database refuses: the grid keeps its row and the search ends here.
        SetBusyCursor(0);
        seam().MsgBox(e.description, vbOKOnly);
        memory.LastSearchText = text;
        return;
    }
    SetBusyCursor(0);

    if (!matched) {
        // An empty grid has no position to go back to.
        if (saved >= 0)
            platform::resumeNext([&] { data.Recordset().setAbsolutePosition(saved); });
        if (g().SkipOtherTables == -1)
            g().SkipOtherTables = 0;
        else
            OfferOtherTables(family, int(which));
    }

    memory.LastSearchText = text;
    platform::DBGrid* grid = main.*family.grid;
    if (matched && grid->currentIndex().isValid())
        grid->scrollTo(grid->currentIndex());
}

void ResetFindCode(Family family)
{
    // What a find with "-----" does, without needing the main window.
    g().FindMemory[std::size_t(family)].LastSearchText.clear();
}

const char* findWindowOfView(int view)
{
    for (const FindFamily& f : kFindFamilies)
        if (f.view == view)
            return f.window;
    return view == 1 ? kFindFamilies[Kelva].window : nullptr;
}

}  // namespace search
