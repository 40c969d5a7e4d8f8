#include "SampleData.h"
#include "TableWriter.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>

namespace datagen {

namespace {

// How a code range's RVUs are made.
enum class Style { None, Anesthesia, Surgery, Imaging, Pathology, Medicine, Cardio, Therapy, Hcpcs, Quality, Emerging };

struct RangeSpec {
    char letter;  // 0 for five-digit numeric codes; 'F'/'T' suffix styles use letter as the suffix
    int lo, hi;
    double share;       // share of the range's numbers that are codes
    Style style;
    const char* statuses;  // "A:90,C:5,N:5"
    double split;          // share of codes with professional (26) and technical (TC) rows
};

const RangeSpec Ranges[] = {
    {0, 100, 1999, 0.15, Style::Anesthesia, "J:100", 0},
    {0, 10021, 69990, 0.09, Style::Surgery, "A:90,R:2,N:3,B:1,I:1,C:3", 0},
    {0, 70010, 76499, 0.085, Style::Imaging, "A:94,C:3,I:3", 0.88},
    {0, 76500, 76999, 0.09, Style::Imaging, "A:95,C:3,B:2", 0.80},
    {0, 77001, 77799, 0.07, Style::Imaging, "A:90,C:6,B:4", 0.55},
    {0, 78012, 79999, 0.07, Style::Imaging, "A:85,C:12,I:3", 0.85},
    {0, 80047, 87999, 0.14, Style::None, "X:92,A:3,I:5", 0},
    {0, 88000, 89398, 0.20, Style::Pathology, "A:88,X:8,C:4", 0.60},
    {0, 90281, 90749, 0.10, Style::None, "X:40,E:25,N:15,I:20", 0},
    {0, 90785, 92499, 0.11, Style::Medicine, "A:90,B:4,N:3,C:3", 0.08},
    {0, 92502, 92700, 0.12, Style::Medicine, "A:85,N:10,C:5", 0.10},
    {0, 92920, 93998, 0.13, Style::Cardio, "A:92,C:5,B:3", 0.60},
    {0, 94002, 96020, 0.11, Style::Medicine, "A:90,B:5,C:5", 0.20},
    {0, 96040, 96379, 0.12, Style::Medicine, "A:60,T:30,B:10", 0},
    {0, 96401, 96999, 0.10, Style::Medicine, "A:88,B:6,C:6", 0.05},
    {0, 97001, 97804, 0.12, Style::Therapy, "A:88,B:6,I:6", 0},
    {0, 98925, 99199, 0.12, Style::Medicine, "A:45,B:30,N:15,C:10", 0},
    {'F', 1, 4999, 0.08, Style::Quality, "M:100", 0},
    {'T', 19, 360, 0.75, Style::Emerging, "C:100", 0},
    {'A', 21, 999, 0.15, Style::None, "I:50,X:30,C:20", 0},
    {'A', 4206, 9999, 0.11, Style::None, "B:35,E:15,I:30,X:20", 0},
    {'B', 4034, 9999, 0.015, Style::None, "E:40,I:30,X:30", 0},
    {'C', 1713, 9899, 0.03, Style::None, "I:100", 0},
    {'D', 120, 9999, 0.012, Style::None, "I:70,N:30", 0},
    {'E', 100, 8002, 0.045, Style::None, "I:40,X:50,N:10", 0},
    {'G', 8, 9999, 0.09, Style::Hcpcs, "A:27,B:10,I:13,M:35,N:5,C:5,X:5", 0.03},
    {'H', 1, 2037, 0.05, Style::None, "I:100", 0},
    {'J', 120, 9999, 0.075, Style::None, "E:45,I:30,X:15,N:10", 0},
    {'K', 1, 899, 0.15, Style::None, "I:100", 0},
    {'L', 112, 9900, 0.06, Style::None, "I:60,X:40", 0},
    {'M', 64, 301, 0.02, Style::None, "N:50,I:50", 0},
    {'P', 2028, 9615, 0.006, Style::None, "X:60,I:40", 0},
    {'Q', 35, 9968, 0.025, Style::Hcpcs, "A:10,C:20,I:40,X:30", 0},
    {'R', 70, 76, 1.0, Style::None, "C:100", 0},
    {'S', 12, 9999, 0.03, Style::None, "I:100", 0},
    {'T', 1000, 5999, 0.015, Style::None, "I:100", 0},
    {'V', 2020, 5364, 0.06, Style::None, "I:60,X:30,N:10", 0},
};

// Evaluation-and-management codes with their status and work RVU (sample values of a data year).
struct EmCode {
    const char* cpt;
    const char* status;
    double work;
};
const EmCode EmCodes[] = {
    {"99201", "A", 0.48}, {"99202", "A", 0.93}, {"99203", "A", 1.42}, {"99204", "A", 2.43}, {"99205", "A", 3.17},
    {"99211", "A", 0.18}, {"99212", "A", 0.48}, {"99213", "A", 0.97}, {"99214", "A", 1.50}, {"99215", "A", 2.11},
    {"99217", "A", 1.28}, {"99218", "A", 1.92}, {"99219", "A", 2.60}, {"99220", "A", 3.56}, {"99221", "A", 1.92},
    {"99222", "A", 2.61}, {"99223", "A", 3.86}, {"99224", "A", 0.76}, {"99225", "A", 1.39}, {"99226", "A", 2.00},
    {"99231", "A", 0.76}, {"99232", "A", 1.39}, {"99233", "A", 2.00}, {"99234", "A", 2.56}, {"99235", "A", 3.24},
    {"99236", "A", 4.20}, {"99238", "A", 1.28}, {"99239", "A", 1.90}, {"99241", "A", 0.64}, {"99242", "A", 1.34},
    {"99243", "A", 1.88}, {"99244", "A", 3.02}, {"99245", "A", 3.77}, {"99251", "A", 1.00}, {"99252", "A", 1.50},
    {"99253", "A", 2.27}, {"99254", "A", 3.29}, {"99255", "A", 4.00}, {"99281", "A", 0.45}, {"99282", "A", 0.88},
    {"99283", "A", 1.34}, {"99284", "A", 2.56}, {"99285", "A", 3.80}, {"99288", "B", 0.00}, {"99291", "A", 4.50},
    {"99292", "A", 2.25}, {"99304", "A", 1.64}, {"99305", "A", 2.35}, {"99306", "A", 3.06}, {"99307", "A", 0.76},
    {"99308", "A", 1.16}, {"99309", "A", 1.55}, {"99310", "A", 2.35}, {"99315", "A", 1.13}, {"99316", "A", 1.50},
    {"99318", "A", 1.71}, {"99324", "A", 1.01}, {"99325", "A", 1.52}, {"99326", "A", 2.63}, {"99327", "A", 3.46},
    {"99328", "A", 4.09}, {"99334", "A", 1.07}, {"99335", "A", 1.72}, {"99336", "A", 2.46}, {"99337", "A", 3.58},
    {"99341", "A", 1.01}, {"99342", "A", 1.52}, {"99343", "A", 2.53}, {"99344", "A", 3.38}, {"99345", "A", 4.09},
    {"99347", "A", 1.00}, {"99348", "A", 1.56}, {"99349", "A", 2.33}, {"99350", "A", 3.28}, {"99354", "A", 1.77},
    {"99355", "A", 1.77}, {"99356", "A", 1.71}, {"99357", "A", 1.71}, {"99358", "B", 2.10}, {"99359", "B", 1.00},
    {"99363", "I", 0.00}, {"99364", "I", 0.00}, {"99366", "B", 0.82}, {"99367", "B", 1.10}, {"99368", "B", 0.72},
    {"99374", "B", 1.10}, {"99375", "I", 0.00}, {"99377", "B", 1.10}, {"99378", "I", 0.00}, {"99379", "B", 1.10},
    {"99380", "B", 1.73}, {"99381", "N", 1.50}, {"99382", "N", 1.60}, {"99383", "N", 1.70}, {"99384", "N", 2.00},
    {"99385", "N", 1.92}, {"99386", "N", 2.33}, {"99387", "N", 2.50}, {"99391", "N", 1.37}, {"99392", "N", 1.50},
    {"99393", "N", 1.50}, {"99394", "N", 1.70}, {"99395", "N", 1.75}, {"99396", "N", 1.90}, {"99397", "N", 2.00},
    {"99401", "N", 0.48}, {"99402", "N", 0.98}, {"99403", "N", 1.46}, {"99404", "N", 1.95}, {"99406", "A", 0.24},
    {"99407", "A", 0.50}, {"99408", "N", 0.65}, {"99409", "N", 1.30}, {"99411", "N", 0.15}, {"99412", "N", 0.25},
    {"99420", "N", 0.00}, {"99429", "N", 0.00}, {"99441", "N", 0.25}, {"99442", "N", 0.50}, {"99443", "N", 0.75},
    {"99444", "N", 0.00}, {"99446", "B", 0.35}, {"99447", "B", 0.70}, {"99448", "B", 1.05}, {"99449", "B", 1.40},
    {"99450", "N", 0.00}, {"99455", "R", 0.00}, {"99456", "R", 0.00}, {"99460", "A", 1.92}, {"99461", "A", 1.26},
    {"99462", "A", 0.84}, {"99463", "A", 2.13}, {"99464", "A", 1.50}, {"99465", "A", 2.93}, {"99466", "A", 4.79},
    {"99467", "A", 2.40}, {"99468", "A", 18.46}, {"99469", "A", 7.99}, {"99471", "A", 15.98}, {"99472", "A", 7.99},
    {"99475", "A", 11.25}, {"99476", "A", 6.75}, {"99477", "A", 7.00}, {"99478", "A", 2.75}, {"99479", "A", 2.50},
    {"99480", "A", 2.40}, {"99485", "B", 1.50}, {"99486", "B", 1.30}, {"99487", "B", 1.81}, {"99488", "B", 2.50},
    {"99489", "B", 1.00}, {"99495", "A", 2.11}, {"99496", "A", 3.05}, {"99497", "I", 0.00}, {"99498", "I", 0.00},
    {"99499", "C", 0.00},
};

std::string fmt(const char* pattern, int n)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, n);
    return buf;
}

std::string codeText(char letter, int n, Style style)
{
    if (style == Style::Quality)
        return fmt("%04dF", n);
    if (style == Style::Emerging)
        return fmt("%04dT", n);
    if (letter)
        return std::string(1, letter) + fmt("%04d", n);
    return fmt("%05d", n);
}

std::string drawStatus(Random& rng, const std::string& mix)
{
    std::vector<std::pair<std::string, int>> parts;
    int total = 0;
    std::size_t pos = 0;
    while (pos < mix.size()) {
        const std::size_t colon = mix.find(':', pos);
        std::size_t comma = mix.find(',', colon);
        if (comma == std::string::npos)
            comma = mix.size();
        const int w = std::stoi(mix.substr(colon + 1, comma - colon - 1));
        parts.emplace_back(mix.substr(pos, colon - pos), w);
        total += w;
        pos = comma + 1;
    }
    int r = rng.range(0, total - 1);
    for (const auto& [s, w] : parts) {
        if (r < w)
            return s;
        r -= w;
    }
    return parts.back().first;
}

double clampTo(double v, double lo, double hi)
{
    return std::min(hi, std::max(lo, v));
}

std::string share(double v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

const char* describe(Style style, char letter, const std::string& cpt)
{
    switch (style) {
    case Style::Anesthesia: return "Sample anesthesia service";
    case Style::Surgery: return "Sample procedure";
    case Style::Imaging: return "Sample imaging study";
    case Style::Pathology: return "Sample pathology exam";
    case Style::Cardio: return "Sample cardiology test";
    case Style::Therapy: return "Sample therapy service";
    case Style::Quality: return "Sample quality measure";
    case Style::Emerging: return "Sample emerging technology";
    case Style::Medicine: return "Sample medicine service";
    case Style::Hcpcs:
    case Style::None: break;
    }
    switch (letter) {
    case 0: return cpt >= "80000" && cpt < "90000" ? "Sample lab test" : "Sample medicine service";
    case 'A': return "Sample supply or transport";
    case 'B': return "Sample enteral nutrition item";
    case 'C': return "Sample outpatient item";
    case 'D': return "Sample dental service";
    case 'E': return "Sample equipment item";
    case 'G': return "Sample temporary service";
    case 'H': return "Sample behavioral health service";
    case 'J': return "Sample drug";
    case 'K': return "Sample equipment item";
    case 'L': return "Sample orthotic or prosthetic";
    case 'M': return "Sample medical service";
    case 'P': return "Sample pathology service";
    case 'Q': return "Sample temporary code";
    case 'R': return "Sample diagnostic transport";
    case 'S': return "Sample private payer code";
    case 'T': return "Sample state program code";
    case 'V': return "Sample vision or hearing item";
    default: return "Sample procedure";
    }
}

bool priced(const std::string& status)
{
    return status == "A" || status == "R" || status == "T";
}

// RVUs of a code of the given style (the global row when the code has components).
void makeRvus(Random& rng, PhysicianCode& c, Style style)
{
    switch (style) {
    case Style::Surgery: {
        const double g = rng.uniform();
        const bool maternity = c.cpt >= "59400" && c.cpt <= "59899";
        c.global = maternity && rng.chance(0.5) ? "MMM" : g < 0.30 ? "000" : g < 0.55 ? "010" : g < 0.95 ? "090" : "ZZZ";
        if (c.global == "000") {
            c.work = clampTo(rng.skewed(2.5, 1.2), 0.5, 40);
            c.fpe = c.work * rng.uniform(0.3, 0.6);
        } else if (c.global == "010") {
            c.work = clampTo(rng.skewed(3.5, 1.0), 0.8, 30);
            c.fpe = c.work * rng.uniform(0.45, 0.8);
        } else if (c.global == "ZZZ") {
            c.work = clampTo(rng.skewed(3.0, 0.9), 0.3, 25);
            c.fpe = c.work * rng.uniform(0.25, 0.45);
        } else {
            c.work = rng.chance(0.012) ? rng.uniform(60, 100) : clampTo(rng.skewed(14, 1.1), 2, 100);
            c.fpe = c.work * rng.uniform(0.45, 0.75);
        }
        const bool office = (c.global == "000" || c.global == "010") && c.work < 12 && rng.chance(0.6);
        if (office) {
            c.nfpe = c.fpe + rng.skewed(2.0, 1.2);
        } else {
            c.nfpe = c.fpe;
            c.naNonFacility = true;
        }
        c.mp = c.work * rng.uniform(0.06, 0.2);
        if (c.global == "010" || c.global == "090") {
            const double pre = rng.uniform(0.05, 0.15), post = rng.uniform(0.05, 0.25);
            c.preop = share(pre);
            c.postop = share(post);
            c.intraop = share(1.0 - rounded(pre) - rounded(post));
        }
        c.pctc = "0";
        c.multproc = c.global == "ZZZ" ? "0" : "2";
        c.bilatsurg = rng.pick(std::vector<std::string>{"0", "0", "1", "2", "3"});
        c.asstsurg = rng.pick(std::vector<std::string>{"0", "1", "2", "2"});
        c.cosurg = rng.pick(std::vector<std::string>{"0", "1", "1", "2"});
        c.teamsurg = rng.pick(std::vector<std::string>{"0", "0", "1", "2"});
        c.physsupv = "09";
        if ((c.cpt >= "43200" && c.cpt <= "43279") || (c.cpt >= "45300" && c.cpt <= "45398"))
            c.endobase = c.cpt.substr(0, 3) + (c.cpt < "45000" ? "35" : "78");
        break;
    }
    case Style::Imaging:
    case Style::Pathology:
    case Style::Cardio: {
        const double medianWork = style == Style::Imaging ? 0.6 : 0.8;
        c.work = clampTo(rng.skewed(medianWork, 1.2), 0.17, style == Style::Imaging ? 6.0 : 4.0);
        c.nfpe = clampTo(rng.skewed(style == Style::Imaging ? 1.6 : 1.1, 1.6), 0.15, 25) + c.work * 0.3;
        c.fpe = c.work * rng.uniform(0.25, 0.4);
        c.mp = std::max(0.01, c.work * 0.05);
        c.global = "XXX";
        c.pctc = rng.pick(std::vector<std::string>{"2", "3", "4", "5"});
        c.multproc = style == Style::Imaging ? "4" : "0";
        c.bilatsurg = "0";
        c.asstsurg = "9";
        c.cosurg = "9";
        c.teamsurg = "9";
        c.physsupv = rng.pick(std::vector<std::string>{"01", "01", "02", "03"});
        break;
    }
    case Style::Medicine:
    case Style::Hcpcs: {
        c.work = clampTo(rng.skewed(0.8, 1.2), 0, 6);
        c.nfpe = c.work * rng.uniform(0.3, 1.5) + rng.uniform(0.1, 2.0);
        c.fpe = c.work * rng.uniform(0.2, 0.5);
        c.mp = c.work * 0.05;
        c.global = rng.chance(0.05) ? "ZZZ" : "XXX";
        c.pctc = "0";
        c.multproc = "0";
        c.bilatsurg = "0";
        c.asstsurg = "0";
        c.cosurg = "0";
        c.teamsurg = "0";
        break;
    }
    case Style::Therapy: {
        c.work = rng.uniform(0.2, 1.2);
        c.nfpe = rng.uniform(0.2, 1.2);
        c.fpe = c.nfpe;
        c.naFacility = true;
        c.mp = rng.uniform(0.01, 0.05);
        c.global = "XXX";
        c.pctc = "5";
        c.multproc = "0";
        c.bilatsurg = "0";
        c.asstsurg = "0";
        c.cosurg = "0";
        c.teamsurg = "0";
        break;
    }
    default:
        c.global = style == Style::Emerging ? "YYY" : "XXX";
        c.pctc = "9";
        break;
    }
    c.work = rounded(c.work);
    c.nfpe = rounded(c.nfpe);
    c.fpe = rounded(c.fpe);
    c.mp = rounded(c.mp);
}

void emRvus(PhysicianCode& c)
{
    const bool office = c.cpt <= "99215" || (c.cpt >= "99241" && c.cpt <= "99245") || c.cpt >= "99381";
    const bool home = c.cpt >= "99324" && c.cpt <= "99350";
    c.global = "XXX";
    c.pctc = "0";
    c.multproc = "0";
    c.bilatsurg = "0";
    c.asstsurg = "0";
    c.cosurg = "0";
    c.teamsurg = "0";
    c.fpe = rounded(c.work * 0.38 + 0.02);
    c.nfpe = office || home ? rounded(c.work * 0.95 + 0.06) : c.fpe;
    if (home) {
        c.fpe = c.nfpe;
        c.naFacility = true;
    }
    c.mp = rounded(std::max(c.work > 0 ? 0.01 : 0.0, c.work * 0.07));
}

// The row of DATA0000 for a code.
std::vector<Value> dataRow(const TableWriter& w, const PhysicianCode& c)
{
    TableWriter::Row r = w.row();
    r["CODEMOD"] = c.codemod();
    r["CPT"] = c.cpt;
    if (!c.mod.empty())
        r["MOD"] = c.mod;
    r["STATUS"] = c.status;
    r["DESC"] = c.desc;
    r["LDESC"] = c.ldesc;
    const double nfTotal = rounded(c.work + c.nfpe + c.mp), fTotal = rounded(c.work + c.fpe + c.mp);
    r["WORKZ"] = c.work;
    r["FRBPERVU"] = rounded(c.fpe * 0.97);
    r["NFBPERVU"] = c.nfpe;
    r["NFTPERVU"] = c.nfpe;
    r["NFRBPERVU"] = rounded(c.nfpe * 0.97);
    r["FBPERVU"] = c.fpe;
    r["FTPERVU"] = c.fpe;
    r["MRVU"] = c.mp;
    r["NFRBTOTAL"] = nfTotal;
    r["NFTTOTAL"] = nfTotal;
    r["FRBTOTAL"] = fTotal;
    r["FTTOTAL"] = fTotal;
    r["GLOBAL"] = c.global;
    r["PCTCIND"] = c.pctc;
    r["PREOP"] = c.preop;
    r["INTRAOP"] = c.intraop;
    r["POSTOP"] = c.postop;
    r["MULTPROC"] = c.multproc;
    r["BILATSURG"] = c.bilatsurg;
    r["ASSTSURG"] = c.asstsurg;
    r["COSURG"] = c.cosurg;
    r["TEAMSURG"] = c.teamsurg;
    r["PHYSSUPV"] = c.physsupv;
    r["BMIND"] = std::string("0");
    if (!c.endobase.empty())
        r["ENDOBASE"] = c.endobase;
    r["CONVF"] = ConversionFactor;
    r["CALCIND"] = std::string("0");
    r["WORKC"] = 0.0;
    r["NRVUC"] = 0.0;
    r["FRVUC"] = 0.0;
    r["CWORK"] = c.work;
    if (c.naNonFacility)
        r["NAIND"] = std::string("NA");
    if (c.naFacility)
        r["NAFIND"] = std::string("NA");
    r["OPPS_CAP_IND"] = c.oppsInd;
    r["NF98WORK"] = c.nfpe;
    r["F98WORK"] = c.fpe;
    r["calcflag"] = std::int64_t(c.calcflag);
    r["NON_PE_OPPS"] = c.oppsNf;
    r["FAC_PE_OPPS"] = c.oppsF;
    r["MAL_PE_OPPS"] = c.oppsMp;
    return r.values();
}

std::string componentText(const std::string& mod)
{
    if (mod == "26")
        return ", professional component";
    if (mod == "TC")
        return ", technical component";
    if (mod == "53")
        return ", discontinued procedure";
    return "";
}

void finish(PhysicianCode& c)
{
    c.ldesc = c.desc + componentText(c.mod) + " (generated sample text, not a code set description)";
    c.calcflag = priced(c.status.substr(0, 1)) && c.work + c.nfpe + c.mp > 0 ? 1 : 0;
}

// The 26 and TC rows of a code with components; the global row becomes their sum.
void addComponents(std::vector<PhysicianCode>& out, PhysicianCode global)
{
    PhysicianCode pc = global, tc = global;
    pc.mod = "26";
    pc.nfpe = pc.fpe = rounded(global.work * 0.3 + 0.02);
    pc.mp = rounded(std::max(0.01, global.work * 0.04));
    tc.mod = "TC";
    tc.work = 0;
    tc.nfpe = tc.fpe = rounded(std::max(0.1, global.nfpe - pc.nfpe));
    tc.mp = rounded(std::max(0.01, global.mp - pc.mp));
    tc.naFacility = true;
    global.pctc = pc.pctc = tc.pctc = "1";
    global.nfpe = global.fpe = rounded(pc.nfpe + tc.nfpe);
    global.mp = rounded(pc.mp + tc.mp);
    global.naFacility = true;
    for (PhysicianCode* c : {&global, &pc, &tc}) {
        finish(*c);
        out.push_back(*c);
    }
}

}  // namespace

void writePhysician(sqlite3* db, Sample& sample)
{
    Random rng(sample.seed, "DATA0000");
    std::vector<PhysicianCode> codes;
    std::set<std::string> used;

    // Codes the tests and the examples rely on come first, then the ranges.
    {
        PhysicianCode c;
        c.cpt = "71010";
        c.status = "A";
        c.desc = "Sample imaging study 71010";
        c.work = 0.18;
        c.nfpe = c.fpe = 0.52;
        c.mp = 0.02;
        c.global = "XXX";
        c.multproc = "0";
        c.bilatsurg = "0";
        c.physsupv = "01";
        addComponents(codes, c);
        // The fixed split of the example: 26 = 0.18 / 0.07 / 0.01, TC = 0 / 0.45 / 0.01.
        codes[1].nfpe = codes[1].fpe = 0.07;
        codes[1].mp = 0.01;
        codes[2].nfpe = codes[2].fpe = 0.45;
        codes[2].mp = 0.01;
        codes[0].nfpe = codes[0].fpe = 0.52;
        codes[0].mp = 0.02;
        used.insert("71010");
    }
    {
        // A colonoscopy with its discontinued (53) row.
        PhysicianCode c;
        c.cpt = "45378";
        c.status = "A";
        c.desc = "Sample procedure 45378";
        c.global = "000";
        c.pctc = "0";
        c.work = 3.69;
        c.nfpe = 4.81;
        c.fpe = 1.88;
        c.mp = 0.33;
        c.multproc = "3";
        c.bilatsurg = "0";
        c.asstsurg = "1";
        c.cosurg = "0";
        c.teamsurg = "0";
        c.endobase = "45378";
        finish(c);
        codes.push_back(c);
        PhysicianCode d = c;
        d.mod = "53";
        d.work = 0.96;
        d.nfpe = 2.62;
        d.fpe = 0.49;
        d.mp = 0.09;
        finish(d);
        codes.push_back(d);
        used.insert(c.cpt);
    }
    for (const EmCode& e : EmCodes) {
        PhysicianCode c;
        c.cpt = e.cpt;
        c.status = e.status;
        c.work = e.work;
        const bool office = c.cpt <= "99215";
        c.desc = std::string(office ? "Sample office visit " : "Sample evaluation service ") + c.cpt;
        emRvus(c);
        if (c.cpt == "99213") {
            c.nfpe = 0.99;
            c.fpe = 0.38;
            c.mp = 0.07;
        }
        finish(c);
        codes.push_back(c);
        used.insert(c.cpt);
    }
    for (const RangeSpec& range : Ranges) {
        for (int n = range.lo; n <= range.hi; ++n) {
            if (!rng.chance(range.share))
                continue;
            PhysicianCode c;
            c.cpt = codeText(range.letter, n, range.style);
            if (!used.insert(c.cpt).second)
                continue;
            c.status = drawStatus(rng, range.statuses);
            c.desc = std::string(describe(range.style, range.letter, c.cpt)) + " " + c.cpt;
            const bool unlisted = range.style == Style::Surgery && c.cpt.substr(3) == "99";
            if (unlisted)
                c.status = "C";
            const bool rvus = priced(c.status) || ((c.status == "N" || c.status == "B") && rng.chance(0.5));
            makeRvus(rng, c, rvus ? range.style : Style::None);
            if (unlisted || (range.style == Style::Surgery && c.status == "C"))
                c.global = "YYY";
            if (rvus && range.split > 0 && rng.chance(range.split)) {
                addComponents(codes, c);
                continue;
            }
            finish(c);
            codes.push_back(c);
            // Discontinued colonoscopies and the like: a 53 row at a reduced value.
            if (range.style == Style::Surgery && c.endobase.size() && c.calcflag && rng.chance(0.5)) {
                PhysicianCode d = c;
                d.mod = "53";
                d.work = rounded(c.work * 0.5);
                d.nfpe = rounded(c.nfpe * 0.5);
                d.fpe = rounded(c.fpe * 0.5);
                d.mp = rounded(c.mp * 0.5);
                finish(d);
                codes.push_back(d);
            }
        }
    }
    std::sort(codes.begin(), codes.end(),
              [](const PhysicianCode& a, const PhysicianCode& b) { return a.codemod() < b.codemod(); });

    // OPPS caps: imaging studies with a large technical part and office procedures. The OPPS PE
    // factors are drawn around the PFS ones; where the OPPS amount is below the PFS amount in some
    // locality the code is capped ("YC"), otherwise it is only subject to the cap ("Y").
    Random opps(sample.seed, "OPPS");
    std::map<std::string, std::vector<std::size_t>> byCpt;
    for (std::size_t i = 0; i < codes.size(); ++i)
        byCpt[codes[i].cpt].push_back(i);
    for (auto& [cpt, rows] : byCpt) {
        const PhysicianCode& first = codes[rows.front()];
        if (!first.calcflag)
            continue;
        const bool imaging = cpt >= "70010" && cpt <= "76999" && first.pctc == "1" && first.nfpe > 1.5;
        const bool office = cpt >= "10021" && cpt <= "69990" && !first.naNonFacility &&
                            first.nfpe - first.fpe > 2.5;
        if (!((imaging && opps.chance(0.2)) || (office && opps.chance(0.08))))
            continue;
        const double nfShare = opps.uniform(0.45, 1.05), fShare = opps.uniform(0.6, 1.05), mShare = opps.uniform(0.6, 1.0);
        for (std::size_t i : rows) {
            PhysicianCode& c = codes[i];
            if (c.mod == "26")
                continue;
            c.oppsNf = rounded(c.nfpe * nfShare);
            c.oppsF = rounded(c.fpe * fShare);
            c.oppsMp = rounded(c.mp * mShare);
            bool capped = false;
            for (const Locality& l : sample.localities)
                capped = capped || participatingFee(c.work, c.oppsNf, c.oppsMp, l) < participatingFee(c.work, c.nfpe, c.mp, l) ||
                         participatingFee(c.work, c.oppsF, c.oppsMp, l) < participatingFee(c.work, c.fpe, c.mp, l);
            c.oppsInd = capped ? "YC" : "Y";
        }
    }

    // A few codes carry the gap merge's mark.
    Random gapRng(sample.seed, "GAP");
    std::vector<std::size_t> surgical;
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i].cpt >= "10021" && codes[i].cpt <= "69990" && codes[i].status == "A" && codes[i].mod.empty())
            surgical.push_back(i);
    std::set<std::size_t> gapExisting;
    while (gapExisting.size() < 60)
        gapExisting.insert(gapRng.pick(surgical));
    int marked = 0;
    for (std::size_t i : gapExisting)
        if (marked++ < 6)
            codes[i].status = "Ag";

    TableWriter data(db, "DATA0000");
    for (const PhysicianCode& c : codes)
        data.insert(dataRow(data, c));

    // DATAOPPSVIEW: every capped row in every locality, with the capped participating amounts.
    TableWriter oppsView(db, "DATAOPPSVIEW");
    for (const Locality& l : sample.localities) {
        for (const PhysicianCode& c : codes) {
            if (c.oppsInd != "YC")
                continue;
            std::vector<Value> row = dataRow(data, c);
            row[data.index("NFTTOTAL")] = std::min(participatingFee(c.work, c.nfpe, c.mp, l),
                                                   participatingFee(c.work, c.oppsNf, c.oppsMp, l));
            row[data.index("FTTOTAL")] = std::min(participatingFee(c.work, c.fpe, c.mp, l),
                                                  participatingFee(c.work, c.oppsF, c.oppsMp, l));
            row.push_back(l.carrier);
            row.push_back(l.loccode);
            oppsView.insert(row);
        }
    }

    // GAP: sixty codes the table already holds and sixty it lacks.
    std::vector<PhysicianCode> gap;
    for (std::size_t i : gapExisting) {
        PhysicianCode c = codes[i];
        c.work = rounded(c.work * gapRng.uniform(0.95, 1.05));
        gap.push_back(c);
    }
    while (gap.size() < 120) {
        PhysicianCode c;
        c.cpt = fmt("%05d", gapRng.range(10021, 69990));
        if (!used.insert(c.cpt).second)
            continue;
        c.status = "A";
        makeRvus(gapRng, c, Style::Surgery);
        gap.push_back(c);
    }
    std::sort(gap.begin(), gap.end(), [](const PhysicianCode& a, const PhysicianCode& b) { return a.cpt < b.cpt; });
    TableWriter gapTable(db, "GAP");
    for (const PhysicianCode& c : gap) {
        const std::string desc = "Sample gap code " + c.cpt;
        gapTable.insert({c.codemod(), c.cpt, Value{}, c.work, c.nfpe, c.fpe, c.mp, rounded(c.work + c.nfpe + c.mp),
                         rounded(c.work + c.fpe + c.mp), c.global, desc,
                         desc + " (generated sample text, not a code set description)"});
    }

    // Specialties and their codes: each draws from a stretch of the priced codes plus office visits.
    static const char* const Specialties[] = {
        "GENERAL PRACTICE", "GENERAL SURGERY", "ALLERGY/IMMUNOLOGY", "OTOLARYNGOLOGY", "ANESTHESIOLOGY", "CARDIOLOGY",
        "DERMATOLOGY", "FAMILY PRACTICE", "INTERVENTIONAL PAIN MANAGEMENT", "GASTROENTEROLOGY", "INTERNAL MEDICINE",
        "OSTEOPATHIC MANIPULATIVE MEDICINE", "NEUROLOGY", "NEUROSURGERY", "SPEECH LANGUAGE PATHOLOGY",
        "OBSTETRICS/GYNECOLOGY", "HOSPICE AND PALLIATIVE CARE", "OPHTHALMOLOGY", "ORAL SURGERY", "ORTHOPEDIC SURGERY",
        "CARDIAC ELECTROPHYSIOLOGY", "PATHOLOGY", "SPORTS MEDICINE", "PLASTIC AND RECONSTRUCTIVE SURGERY",
        "PHYSICAL MEDICINE AND REHABILITATION", "PSYCHIATRY", "GERIATRIC PSYCHIATRY", "COLORECTAL SURGERY",
        "PULMONARY DISEASE", "DIAGNOSTIC RADIOLOGY", "INTENSIVE CARDIAC REHABILITATION", "ANESTHESIOLOGIST ASSISTANT",
        "THORACIC SURGERY", "UROLOGY", "CHIROPRACTIC", "NUCLEAR MEDICINE", "PEDIATRIC MEDICINE", "GERIATRIC MEDICINE",
        "NEPHROLOGY", "HAND SURGERY", "OPTOMETRY", "CERTIFIED NURSE MIDWIFE", "CERTIFIED REGISTERED NURSE ANESTHETIST",
        "INFECTIOUS DISEASE", "MAMMOGRAPHY CENTER", "ENDOCRINOLOGY", "INDEPENDENT DIAGNOSTIC TESTING FACILITY",
        "PODIATRY", "AMBULATORY SURGICAL CENTER", "NURSE PRACTITIONER", "PSYCHOLOGIST", "AUDIOLOGIST",
        "PHYSICAL THERAPIST", "RHEUMATOLOGY", "OCCUPATIONAL THERAPIST", "CLINICAL PSYCHOLOGIST", "CLINICAL LABORATORY",
        "MULTISPECIALTY CLINIC OR GROUP PRACTICE", "REGISTERED DIETITIAN", "PAIN MANAGEMENT", "RADIATION THERAPY CENTER",
        "PERIPHERAL VASCULAR DISEASE", "VASCULAR SURGERY", "CARDIAC SURGERY", "ADDICTION MEDICINE",
        "LICENSED CLINICAL SOCIAL WORKER", "CRITICAL CARE (INTENSIVISTS)", "HEMATOLOGY", "HEMATOLOGY/ONCOLOGY",
        "PREVENTIVE MEDICINE", "MAXILLOFACIAL SURGERY", "NEUROPSYCHIATRY", "CERTIFIED CLINICAL NURSE SPECIALIST",
        "MEDICAL ONCOLOGY", "SURGICAL ONCOLOGY", "RADIATION ONCOLOGY", "EMERGENCY MEDICINE", "INTERVENTIONAL RADIOLOGY",
        "PHYSICIAN ASSISTANT", "GYNECOLOGICAL ONCOLOGY",
    };
    TableWriter specdesc(db, "specdesc");
    TableWriter specfreq(db, "specfreq");
    Random spec(sample.seed, "specfreq");
    std::vector<std::string> pricedCpts;
    for (const auto& [cpt, rows] : byCpt)
        if (codes[rows.front()].calcflag || codes[rows.front()].status == "Ag")
            pricedCpts.push_back(cpt);
    int number = 0;
    for (const char* name : Specialties) {
        ++number;
        specdesc.insert({fmt("%02d-", number) + name});
        std::set<std::string> chosen{"99211", "99212", "99213", "99214", "99215"};
        const int start = spec.range(0, int(pricedCpts.size()) - 1500);
        const int want = spec.range(330, 420);
        while (int(chosen.size()) < want)
            chosen.insert(pricedCpts[std::size_t(start + spec.range(0, 1499))]);
        for (const std::string& cpt : chosen)
            specfreq.insert({std::string(name), cpt});
    }
    sample.codes = std::move(codes);
}

}  // namespace datagen
