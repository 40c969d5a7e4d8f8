#include "SampleData.h"
#include "TableWriter.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace datagen {

namespace {

const char* const JcdStates[] = {"NY2", "SC", "OH", "WV", "WI", "MI", "IL", "MN", "AL", "GA", "MS", "IN", "KY", "FL", "CT",
                                 "AK", "AZ", "CO", "HI", "IA", "NV", "ND", "OR", "SD", "WA", "WY", "GU", "AS", "NC", "TN",
                                 "ID", "UT", "NY1", "NJ", "CA", "ME", "MA", "VT", "NH", "AR", "OK", "NM", "LA", "MO1",
                                 "PA1", "PR", "VI", "TX", "MD", "VA", "DC", "DE", "KS", "NE", "MO2", "MT", "NY3", "RI"};

std::string code(char letter, int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%c%04d", letter, n);
    return buf;
}

std::string number3(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return buf;
}

const char* const SampleNote = " (generated sample text, not a code set description)";

void writeDme(sqlite3* db, Sample& sample)
{
    TableWriter cats(db, "DMECATS");
    const std::pair<const char*, const char*> Categories[] = {
        {"CM", "CUSTOMIZED ITEMS"},
        {"CR", "CAPPED RENTAL ITEMS"},
        {"FS", "FREQUENTLY SERVICED ITEMS"},
        {"IL", "INTRAOCULAR LENSES"},
        {"IN", "INEXPENSIVE OR ROUTINELY PURCHASED ITEMS"},
        {"OS", "OSTOMY, TRACHEOSTOMY AND UROLOGICAL ITEMS"},
        {"OX", "OXYGEN AND OXYGEN EQUIPMENT"},
        {"PE", "PARENTERAL AND ENTERAL NUTRITION"},
        {"PO", "PROSTHETICS AND ORTHOTICS"},
        {"PR", "PROSTHETIC DEVICES"},
        {"SC", "SPLINTS AND CASTS"},
        {"SD", "SURGICAL DRESSINGS"},
        {"SU", "SUPPLIES"},
        {"TE", "TRANSCUTANEOUS ELECTRICAL NERVE STIMULATORS"},
        {"TS", "THERAPEUTIC SHOES"},
    };
    for (const auto& [cat, desc] : Categories)
        cats.insert({std::string(cat), std::string(desc)});

    struct DmeRange {
        char letter;
        int lo, hi;
        double share;
        std::vector<std::string> categories;
    };
    const DmeRange Ranges[] = {
        {'A', 4206, 9999, 0.12, {"SU", "OS", "SD", "SU", "TS"}},
        {'B', 4034, 9999, 0.02, {"PE"}},
        {'E', 100, 2599, 0.20, {"IN", "FS", "CR", "OX", "TE", "IN", "CR"}},
        {'K', 1, 899, 0.20, {"CR", "IN"}},
        {'L', 112, 8699, 0.09, {"PO", "SC", "CM", "PR", "PO"}},
        {'V', 2600, 2799, 0.10, {"IL"}},
    };
    Random rng(sample.seed, "DME");
    double stateFactor[53];
    for (double& f : stateFactor)
        f = rng.chance(0.4) ? 1.0 : rng.uniform(0.86, 1.0);

    TableWriter dme(db, "DME");
    const std::size_t firstState = dme.index("AL");
    for (const DmeRange& range : Ranges) {
        for (int n = range.lo; n <= range.hi; ++n) {
            if (!rng.chance(range.share))
                continue;
            const std::string hcpcs = code(range.letter, n);
            const std::string cat = rng.pick(range.categories);
            const double base = rounded(std::min(25000.0, std::max(0.5, rng.skewed(60, 2.2))));
            std::vector<std::pair<std::string, double>> mods;  // modifier and its share of the base
            if (cat == "CR" || cat == "OX")
                mods = rng.chance(0.8) ? std::vector<std::pair<std::string, double>>{{"NU", 1.0}, {"RR", 0.1}, {"UE", 0.75}}
                                       : std::vector<std::pair<std::string, double>>{{"RR", 0.1}};
            else if (cat == "IN" || cat == "FS" || cat == "TE")
                mods = rng.chance(0.7) ? std::vector<std::pair<std::string, double>>{{"NU", 1.0}, {"UE", 0.75}}
                                        : std::vector<std::pair<std::string, double>>{{"NU", 1.0}};
            else if (rng.chance(0.3))
                mods = {{"", 1.0}, {cat == "OS" ? "AU" : cat == "SD" ? "AW" : "AV", 1.0}};
            else
                mods = {{"", 1.0}};
            const std::string juris = rng.chance(0.85) ? "D" : rng.chance(0.66) ? "L" : "J";
            const std::string desc = "Sample DMEPOS item " + hcpcs;
            for (const auto& [mod, share] : mods) {
                TableWriter::Row r = dme.row();
                const double ceiling = rounded(base * share), floor = rounded(base * share * 0.85);
                r["HCPCS"] = hcpcs;
                if (!mod.empty())
                    r["Mod"] = mod;
                if (rng.chance(0.06))
                    r["Mod2"] = std::string(rng.chance(0.5) ? "KL" : "KE");
                r["JURIS"] = juris;
                r["CATG"] = cat;
                r["Ceiling"] = ceiling;
                r["Floor"] = floor;
                r["Description"] = desc;
                r["LDESC"] = desc + SampleNote;
                r["CODEMOD"] = hcpcs + mod;
                std::vector<Value> values = r.values();
                for (int s = 0; s < 53; ++s)
                    values[firstState + std::size_t(s)] =
                        rounded(std::min(ceiling, std::max(floor, ceiling * stateFactor[s] * rng.uniform(0.98, 1.02))));
                dme.insert(values);
            }
        }
    }
}

void writeLab(sqlite3* db, Sample& sample)
{
    Random rng(sample.seed, "LAB");
    std::vector<std::string> codes;
    for (const PhysicianCode& c : sample.codes)
        if (c.mod.empty() && c.status == "X" && ((c.cpt >= "80000" && c.cpt < "90000") || c.cpt[0] == 'G' || c.cpt[0] == 'P'))
            codes.push_back(c.cpt);
    double stateShare[57];
    for (double& f : stateShare)
        f = rng.uniform(0.55, 1.15);
    TableWriter lab(db, "LAB");
    const std::size_t firstState = lab.index("IN");
    for (const std::string& hcpcs : codes) {
        const double mid = rounded(std::min(1200.0, std::max(3.0, rng.skewed(25, 1.6))));
        const double limit = rounded(mid * 0.74), floor = rounded(limit * 0.93);
        std::vector<std::string> mods{""};
        if (rng.chance(0.08))
            mods.push_back("QW");
        std::vector<double> fees;
        for (double f : stateShare)
            fees.push_back(rounded(std::min(limit, mid * f * rng.uniform(0.9, 1.05))));
        for (const std::string& mod : mods) {
            TableWriter::Row r = lab.row();
            r["HCPCS"] = hcpcs;
            if (!mod.empty())
                r["Mod"] = mod;
            r["NationalLimit"] = limit;
            r["MidPoint"] = mid;
            r["LabFloor"] = floor;
            r["Description"] = "Sample lab test " + hcpcs;
            r["CODEMOD"] = hcpcs + mod;
            std::vector<Value> values = r.values();
            for (std::size_t s = 0; s < fees.size(); ++s)
                values[firstState + s] = fees[s];
            lab.insert(values);
        }
    }
}

void writeJcd(sqlite3* db, Sample& sample)
{
    Random rng(sample.seed, "JCD");
    std::vector<std::string> codes;
    int q = 0, vaccines = 0;
    for (const PhysicianCode& c : sample.codes) {
        if (!c.mod.empty())
            continue;
        if (c.cpt[0] == 'J' || (c.cpt[0] == 'Q' && c.status == "X" && q++ < 40) ||
            (c.cpt >= "90476" && c.cpt <= "90749" && vaccines++ < 30))
            codes.push_back(c.cpt);
    }
    const std::vector<std::string> dosages{"1 MG", "2 MG", "5 MG", "10 MG", "20 MG", "25 MG", "50 MG", "100 MG",
                                           "250 MG", "500 MG", "1 G", "1 ML", "5 ML", "10 ML", "100 UNITS",
                                           "1000 UNITS", "1 MCG", "10 MCG", "0.1 MG", "1 EACH"};
    double stateFactor[58];
    for (int s = 0; s < 58; ++s)
        stateFactor[s] = rng.chance(0.7) ? 1.0 : rng.uniform(0.95, 1.05);

    TableWriter jcd(db, "JCD");
    TableWriter crosswalk(db, "crosswalk");
    const std::size_t firstState = jcd.index("NY2");
    std::map<int, int> nextProduct;  // labeler -> product number
    for (const std::string& hcpcs : codes) {
        const std::string dosage = rng.pick(dosages);
        const double asp = rounded(std::min(25000.0, std::max(0.01, rng.skewed(12, 2.5))), 3);
        const std::string desc = "Sample drug " + hcpcs + ", " + dosage;
        TableWriter::Row r = jcd.row();
        r["HCPCS"] = hcpcs;
        r["Dosage"] = dosage;
        r["MMA"] = asp;
        r["CMS"] = rounded(asp * 1.06, 3);
        r["Description"] = desc;
        r["Codemod"] = hcpcs;
        if (hcpcs >= "J0881" && hcpcs <= "J0888")
            r["ESRD_Limit"] = rounded(asp * 0.95, 3);
        if (hcpcs[0] == '9') {
            r["Vaccine_AWP_percent"] = 0.95;
            r["VaccineLimit"] = rounded(asp * 0.95, 3);
        } else if (hcpcs >= "J7190" && hcpcs <= "J7199") {
            r["Blood_AWP_percent"] = 0.95;
            r["BloodLimit"] = rounded(asp * 0.95, 3);
        } else if (hcpcs >= "J1000" && hcpcs < "J4000" && rng.chance(0.1)) {
            r["Infusion_AWP_percent"] = 0.95;
            r["DMEInfusion_Limit"] = rounded(asp * 0.95, 3);
        }
        if (rng.chance(0.02))
            r["notes"] = std::string("Sample price under review");
        std::vector<Value> values = r.values();
        for (int s = 0; s < 58; ++s) {
            const std::string st = JcdStates[s];
            const bool none = ((st == "GU" || st == "AS") && rng.chance(0.6)) || rng.chance(0.01);
            values[firstState + std::size_t(s)] = none ? 0.0 : rounded(asp * stateFactor[s], 3);
        }
        jcd.insert(values);

        // Its National Drug Codes: one to twenty, most codes a handful.
        const int count = std::min(20, 1 + int(rng.skewed(6, 1.3)));
        const std::vector<double> sizes{1, 2, 5, 10, 20, 25, 50, 100};
        const std::vector<double> quantities{1, 1, 1, 5, 10, 25};
        const std::vector<double> unitsPer{0.5, 1, 2, 5, 10};
        for (int i = 0; i < count; ++i) {
            const int labeler = rng.range(0, 59);
            const int product = ++nextProduct[labeler];
            char ndc[32];
            std::snprintf(ndc, sizeof ndc, "%05d-%04d-%02d", 10019 + labeler * 1031, product, rng.range(1, 99));
            char labelerName[32];
            std::snprintf(labelerName, sizeof labelerName, "Sample Labeler %02d", labeler + 1);
            const double size = rng.pick(sizes), qty = rng.pick(quantities), units = rounded(size * rng.pick(unitsPer), 3);
            crosswalk.insert({hcpcs, desc, dosage, std::string(labelerName), std::string(ndc),
                              "SAMPLE DRUG " + hcpcs.substr(1), size, qty, units, rounded(units * qty, 3)});
        }
    }
}

void writeAsc(sqlite3* db, Sample& sample)
{
    Random rng(sample.seed, "ASC");
    const double AscConversion = 43.471;
    struct AscRow {
        std::string code, desc, mult, comment, payInd;
        double weight, work;
    };
    std::vector<AscRow> rows;
    for (const PhysicianCode& c : sample.codes) {
        if (!c.mod.empty() || !c.calcflag)
            continue;
        const bool surgery = c.cpt >= "10021" && c.cpt <= "69990";
        const bool imaging = c.cpt >= "70010" && c.cpt <= "79999";
        if (!(surgery && rng.chance(0.72)) && !(imaging && rng.chance(0.25)) && !(c.cpt[0] == 'G' && rng.chance(0.3)))
            continue;
        AscRow r{c.cpt, c.desc, surgery ? "Y" : "N", "", "", 0, c.work};
        if (rng.chance(0.1))
            r.comment = "CH";
        else if (rng.chance(0.03))
            r.comment = "NI";
        if (c.global == "ZZZ") {
            r.payInd = "N1";
        } else if (surgery) {
            const double u = rng.uniform();
            r.payInd = u < 0.6 ? "A2" : u < 0.85 ? "G2" : u < 0.95 ? "P3" : "R2";
            r.weight = rounded(std::min(300.0, std::max(0.3, c.work * rng.uniform(1.2, 3.0) + rng.uniform(0, 5))), 4);
        } else {
            r.payInd = rng.chance(0.5) ? "Z2" : "Z3";
            r.weight = rounded(std::max(0.2, c.nfpe * rng.uniform(0.5, 1.2)), 4);
        }
        rows.push_back(r);
    }
    TableWriter asc(db, "ASC");
    for (const AscRow& r : rows)
        asc.insert({Value{}, r.code, r.desc, r.mult, r.comment.empty() ? Value{} : Value(r.comment), r.payInd, r.weight,
                    rounded(r.weight * AscConversion)});

    // Payment groups for about 2,500 of the surgical codes, by the size of the procedure.
    TableWriter groups(db, "ASCGROUPS");
    for (const AscRow& r : rows) {
        if (r.mult != "Y" || !rng.chance(0.7))
            continue;
        const int group = std::min(9, 1 + int(r.work / 2.5));
        groups.insert({Value{}, r.code, std::string("A"), std::int64_t(group)});
    }
    TableWriter rates(db, "ASCGROUPRATES");
    const double Rates[] = {333, 446, 510, 630, 717, 826, 995, 973, 1339};
    for (int g = 0; g < 9; ++g)
        rates.insert({std::int64_t(g + 1), Rates[g]});

    // Wage indexes: the user's own row, then a rural row and urban areas for each state.
    struct StateName {
        const char* st;
        const char* name;
        int areas;
    };
    const StateName States[] = {
        {"AL", "ALABAMA", 11}, {"AK", "ALASKA", 2}, {"AZ", "ARIZONA", 8}, {"AR", "ARKANSAS", 7}, {"CA", "CALIFORNIA", 29},
        {"CO", "COLORADO", 7}, {"CT", "CONNECTICUT", 6}, {"DE", "DELAWARE", 2}, {"DC", "DISTRICT OF COLUMBIA", 1},
        {"FL", "FLORIDA", 22}, {"GA", "GEORGIA", 14}, {"HI", "HAWAII", 2}, {"ID", "IDAHO", 5}, {"IL", "ILLINOIS", 14},
        {"IN", "INDIANA", 14}, {"IA", "IOWA", 8}, {"KS", "KANSAS", 4}, {"KY", "KENTUCKY", 8}, {"LA", "LOUISIANA", 9},
        {"ME", "MAINE", 4}, {"MD", "MARYLAND", 6}, {"MA", "MASSACHUSETTS", 9}, {"MI", "MICHIGAN", 15},
        {"MN", "MINNESOTA", 7}, {"MS", "MISSISSIPPI", 4}, {"MO", "MISSOURI", 8}, {"MT", "MONTANA", 3},
        {"NE", "NEBRASKA", 3}, {"NV", "NEVADA", 3}, {"NH", "NEW HAMPSHIRE", 4}, {"NJ", "NEW JERSEY", 9},
        {"NM", "NEW MEXICO", 4}, {"NY", "NEW YORK", 14}, {"NC", "NORTH CAROLINA", 16}, {"ND", "NORTH DAKOTA", 3},
        {"OH", "OHIO", 16}, {"OK", "OKLAHOMA", 4}, {"OR", "OREGON", 7}, {"PA", "PENNSYLVANIA", 18},
        {"PR", "PUERTO RICO", 7}, {"RI", "RHODE ISLAND", 1}, {"SC", "SOUTH CAROLINA", 9}, {"SD", "SOUTH DAKOTA", 2},
        {"TN", "TENNESSEE", 10}, {"TX", "TEXAS", 25}, {"UT", "UTAH", 5}, {"VT", "VERMONT", 1}, {"VI", "VIRGIN ISLANDS", 1},
        {"VA", "VIRGINIA", 11}, {"WA", "WASHINGTON", 13}, {"WV", "WEST VIRGINIA", 7}, {"WI", "WISCONSIN", 13},
        {"WY", "WYOMING", 2},
    };
    TableWriter wage(db, "ASCWAGEINDEX");
    wage.insert({std::string("99999"), std::string("User Value"), std::string("Wage index typed by the user"), Value{},
                 10000.0, std::string("")});
    int cbsa = 10180;
    int stateCode = 1;
    for (const StateName& s : States) {
        char index[8];
        std::snprintf(index, sizeof index, "%02d", stateCode++);
        const double rural = std::round(10000 * rng.uniform(0.72, 1.0));
        wage.insert({std::string(index), "RURAL " + std::string(s.name), Value{}, std::string(s.st), rural,
                     std::string(s.name)});
        for (int a = 0; a < s.areas; ++a) {
            cbsa += rng.range(20, 80);
            if (a > 0 && rng.chance(0.2))
                continue;
            const double w = std::round(10000 * std::min(1.8, std::max(0.4, rng.skewed(0.97, 0.35))));
            wage.insert({std::to_string(cbsa), "SAMPLE AREA " + std::to_string(cbsa) + ", " + s.st,
                         w < rural ? Value(std::string("Rural floor applies")) : Value{}, std::string(s.st),
                         std::max(w, rural), std::string(s.name)});
        }
    }
}

void writeDrg(sqlite3* db, Sample& sample)
{
    Random rng(sample.seed, "DRG");
    struct Block {
        int from, to;
        const char* mdc;
    };
    const Block Blocks[] = {{1, 17, "PRE"}, {20, 103, "01"},  {113, 125, "02"}, {129, 159, "03"}, {163, 208, "04"},
                            {215, 316, "05"}, {326, 395, "06"}, {405, 446, "07"}, {453, 566, "08"}, {570, 607, "09"},
                            {614, 645, "10"}, {652, 700, "11"}, {707, 730, "12"}, {734, 761, "13"}, {765, 782, "14"},
                            {789, 795, "15"}, {799, 816, "16"}, {820, 849, "17"}, {853, 872, "18"}, {876, 887, "19"},
                            {894, 897, "20"}, {901, 923, "21"}, {927, 935, "22"}, {939, 951, "23"}, {955, 965, "24"},
                            {969, 977, "25"}, {981, 989, ""},   {998, 999, ""}};
    const char* const Severity[] = {"WITH MCC", "WITH CC", "WITHOUT CC/MCC"};
    const double SeverityWeight[] = {1.0, 0.65, 0.45};
    TableWriter drg(db, "DRG");
    for (const Block& b : Blocks) {
        const int surgicalEnd = b.from + (b.to - b.from) * 2 / 5;
        double base = 0;
        for (int n = b.from; n <= b.to; ++n) {
            const int position = (n - b.from) % 3;
            const bool surgical = n <= surgicalEnd || std::string(b.mdc) == "PRE";
            if (position == 0)
                base = surgical ? std::min(26.0, std::max(0.8, rng.skewed(2.8, 1.5))) : std::max(0.3, rng.skewed(1.1, 1.0));
            if (n != 1 && !rng.chance(0.9))
                continue;
            const double arw = rounded(n == 1 ? 26.2 : base * SeverityWeight[position], 4);
            const double gmlos = rounded(std::min(40.0, std::max(1.0, arw * 2.4 + rng.uniform(0.5, 2.0))), 1);
            const std::string type = surgical ? "SURG" : "MED";
            drg.insert({Value{}, std::int64_t(n), b.mdc[0] ? Value(std::string(b.mdc)) : Value{}, type,
                        rng.chance(0.3) ? Value(std::string("Y")) : Value{},
                        "SAMPLE " + std::string(surgical ? "SURGICAL" : "MEDICAL") + " GROUP " + number3(n) + " " +
                            Severity[position],
                        gmlos, rounded(gmlos * rng.uniform(1.15, 1.45), 1), arw});
        }
    }
}

void writeDates(sqlite3* db)
{
    const std::string note = "Generated sample data: not for billing";
    TableWriter(db, "DatesKELVA").insert({std::string("Sample RVU data effective 01/01/2014"), note});
    TableWriter(db, "DatesDME").insert({std::string("Sample DMEPOS fees effective 01/01/2014"), note});
    TableWriter(db, "DatesLAB").insert({std::string("Sample lab fees effective 01/01/2014"), note});
    TableWriter(db, "DatesASC").insert({std::string("Sample ASC payments effective 01/01/2014"),
                                        std::string("Sample wage indexes effective 10/01/2013"), note});
    TableWriter(db, "DatesDRG").insert({std::string("Sample DRG weights effective 10/01/2013")});
    TableWriter jcd(db, "DatesJCD");
    for (const char* st : JcdStates) {
        TableWriter::Row r = jcd.row();
        r["State"] = std::string(st);
        r["Locality"] = std::string("ALL");
        r["Last update"] = std::string("01/01/2014");
        r["Enter date"] = std::string("12/15/2013");
        jcd.insert(r);
    }
}

}  // namespace

void writeFamilies(sqlite3* db, Sample& sample)
{
    writeDme(db, sample);
    writeLab(db, sample);
    writeJcd(db, sample);
    writeAsc(db, sample);
    writeDrg(db, sample);
    writeDates(db);
}

}  // namespace datagen
