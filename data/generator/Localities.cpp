#include "SampleData.h"
#include "TableWriter.h"

#include "platform/dao/jetfunctions.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <tuple>

namespace datagen {

namespace {

struct LocalityRow {
    const char* state;
    const char* st;
    const char* desc;
    const char* county;
    const char* carrier;
    const char* loccode;
    double work, pract, malp;
    const char* zips;  // three-digit ZIP prefixes: "350-369,398"; "*" = every prefix of the state not taken
};

// 89 localities of the 50 states, DC, Puerto Rico and the Virgin Islands. GPCIs are sample values in the
// ranges of a real data year.
const LocalityRow Rows[] = {
    {"ALABAMA", "AL", "STATEWIDE", "ALL COUNTIES", "10112", "00", 1.000, 0.869, 0.491, "350-369"},
    {"ALASKA", "AK", "STATEWIDE", "ALL COUNTIES", "02102", "01", 1.500, 1.081, 0.657, "995-999"},
    {"ARIZONA", "AZ", "STATEWIDE", "ALL COUNTIES", "03102", "00", 1.000, 0.962, 0.850, "850-865"},
    {"ARKANSAS", "AR", "STATEWIDE", "ALL COUNTIES", "07102", "13", 1.000, 0.863, 0.533, "716-729"},
    {"CALIFORNIA", "CA", "ANAHEIM/SANTA ANA", "ORANGE", "01182", "26", 1.045, 1.239, 0.739, "926-928"},
    {"CALIFORNIA", "CA", "LOS ANGELES", "LOS ANGELES", "01182", "18", 1.041, 1.185, 0.642, "900-908,910-918"},
    {"CALIFORNIA", "CA", "MARIN/NAPA/SOLANO", "MARIN, NAPA AND SOLANO", "01112", "03", 1.035, 1.327, 0.458, "949"},
    {"CALIFORNIA", "CA", "OAKLAND/BERKELEY", "ALAMEDA AND CONTRA COSTA", "01112", "07", 1.055, 1.329, 0.541, "945-947"},
    {"CALIFORNIA", "CA", "SAN FRANCISCO", "SAN FRANCISCO", "01112", "05", 1.074, 1.399, 0.480, "941"},
    {"CALIFORNIA", "CA", "SAN MATEO", "SAN MATEO", "01112", "06", 1.089, 1.385, 0.451, "940,944"},
    {"CALIFORNIA", "CA", "SANTA CLARA", "SANTA CLARA", "01112", "09", 1.088, 1.377, 0.424, "950-951"},
    {"CALIFORNIA", "CA", "VENTURA", "VENTURA", "01182", "17", 1.028, 1.179, 0.632, "930"},
    {"CALIFORNIA", "CA", "REST OF CALIFORNIA", "ALL OTHER COUNTIES", "01182", "99", 1.021, 1.081, 0.581, "*"},
    {"COLORADO", "CO", "STATEWIDE", "ALL COUNTIES", "04112", "01", 1.000, 1.007, 0.760, "800-816"},
    {"CONNECTICUT", "CT", "STATEWIDE", "ALL COUNTIES", "13102", "00", 1.036, 1.116, 1.008, "060-069"},
    {"DELAWARE", "DE", "STATEWIDE", "ALL COUNTIES", "12102", "01", 1.011, 1.021, 0.696, "197-199"},
    {"DISTRICT OF COLUMBIA", "DC", "DC + MD/VA SUBURBS", "DISTRICT OF COLUMBIA, MONTGOMERY, PRINCE GEORGES, ARLINGTON, FAIRFAX",
     "12202", "01", 1.049, 1.214, 1.177, "200-209,220-223"},
    {"FLORIDA", "FL", "FORT LAUDERDALE", "BROWARD, COLLIER, INDIAN RIVER, LEE, MARTIN, PALM BEACH", "09102", "03", 1.000, 1.012,
     2.014, "333-334"},
    {"FLORIDA", "FL", "MIAMI", "DADE, MONROE", "09102", "04", 1.000, 1.050, 2.700, "330-332"},
    {"FLORIDA", "FL", "REST OF FLORIDA", "ALL OTHER COUNTIES", "09102", "99", 1.000, 0.933, 1.431, "320-329,335-349"},
    {"GEORGIA", "GA", "ATLANTA", "BUTTS, CHEROKEE, CLAYTON, COBB, DE KALB, FULTON, GWINNETT", "10212", "01", 1.008, 1.005, 0.985,
     "300-303"},
    {"GEORGIA", "GA", "REST OF GEORGIA", "ALL OTHER COUNTIES", "10212", "99", 1.000, 0.886, 0.977, "304-319,398-399"},
    {"HAWAII", "HI", "STATEWIDE", "ALL COUNTIES", "01212", "01", 1.000, 1.188, 0.618, "967-968"},
    {"IDAHO", "ID", "STATEWIDE", "ALL COUNTIES", "02202", "00", 1.000, 0.893, 0.494, "832-838"},
    {"ILLINOIS", "IL", "CHICAGO", "COOK", "06102", "16", 1.017, 1.078, 2.345, "606-608"},
    {"ILLINOIS", "IL", "EAST ST. LOUIS", "BOND, CALHOUN, CLINTON, JERSEY, MACOUPIN, MADISON, MONROE, ST. CLAIR", "06102", "12",
     1.000, 0.931, 1.885, "620,622"},
    {"ILLINOIS", "IL", "SUBURBAN CHICAGO", "DU PAGE, KANE, LAKE, WILL", "06102", "15", 1.024, 1.070, 2.047, "600-605"},
    {"ILLINOIS", "IL", "REST OF ILLINOIS", "ALL OTHER COUNTIES", "06102", "99", 1.000, 0.891, 1.267, "609,611-619,623-629"},
    {"INDIANA", "IN", "STATEWIDE", "ALL COUNTIES", "08102", "00", 1.000, 0.918, 0.471, "460-479"},
    {"IOWA", "IA", "STATEWIDE", "ALL COUNTIES", "05102", "00", 1.000, 0.895, 0.480, "500-528"},
    {"KANSAS", "KS", "STATEWIDE", "ALL COUNTIES", "05202", "00", 1.000, 0.895, 0.580, "660-679"},
    {"KENTUCKY", "KY", "STATEWIDE", "ALL COUNTIES", "15102", "00", 1.000, 0.871, 0.841, "400-427"},
    {"LOUISIANA", "LA", "NEW ORLEANS", "JEFFERSON, ORLEANS, PLAQUEMINES, ST. BERNARD", "07202", "01", 1.000, 0.979, 1.170, "700-701"},
    {"LOUISIANA", "LA", "REST OF LOUISIANA", "ALL OTHER PARISHES", "07202", "99", 1.000, 0.875, 1.050, "703-714"},
    {"MAINE", "ME", "SOUTHERN MAINE", "CUMBERLAND, YORK", "14112", "03", 1.000, 1.014, 0.617, "039-041"},
    {"MAINE", "ME", "REST OF MAINE", "ALL OTHER COUNTIES", "14112", "99", 1.000, 0.892, 0.617, "042-049"},
    {"MARYLAND", "MD", "BALTIMORE/SURR. CNTYS", "ANNE ARUNDEL, BALTIMORE, CARROLL, HARFORD, HOWARD", "12302", "01", 1.012, 1.104,
     1.355, "210-212,214"},
    {"MARYLAND", "MD", "REST OF MARYLAND", "ALL OTHER COUNTIES", "12302", "99", 1.000, 1.031, 1.203, "215-219"},
    {"MASSACHUSETTS", "MA", "METROPOLITAN BOSTON", "MIDDLESEX, NORFOLK, SUFFOLK", "14212", "01", 1.031, 1.318, 0.767, "021-024"},
    {"MASSACHUSETTS", "MA", "REST OF MASSACHUSETTS", "ALL OTHER COUNTIES", "14212", "99", 1.009, 1.112, 0.767, "010-020,025-027"},
    {"MICHIGAN", "MI", "DETROIT", "MACOMB, OAKLAND, WASHTENAW, WAYNE", "08202", "01", 1.021, 0.994, 2.051, "480-482"},
    {"MICHIGAN", "MI", "REST OF MICHIGAN", "ALL OTHER COUNTIES", "08202", "99", 1.000, 0.917, 1.191, "483-499"},
    {"MINNESOTA", "MN", "STATEWIDE", "ALL COUNTIES", "06302", "00", 1.000, 1.003, 0.300, "550-567"},
    {"MISSISSIPPI", "MS", "STATEWIDE", "ALL COUNTIES", "07302", "00", 1.000, 0.864, 0.661, "386-397"},
    {"MISSOURI", "MO", "METROPOLITAN KANSAS CITY", "CLAY, JACKSON, PLATTE", "05302", "02", 1.000, 0.964, 0.982, "640-641"},
    {"MISSOURI", "MO", "METROPOLITAN ST. LOUIS", "JEFFERSON, ST. CHARLES, ST. LOUIS, ST. LOUIS CITY", "05302", "01", 1.000, 0.962,
     0.962, "630-631"},
    {"MISSOURI", "MO", "REST OF MISSOURI", "ALL OTHER COUNTIES", "05302", "99", 0.988, 0.850, 0.905, "633-639,644-658"},
    {"MONTANA", "MT", "STATEWIDE", "ALL COUNTIES", "03202", "01", 1.000, 1.000, 0.672, "590-599"},
    {"NEBRASKA", "NE", "STATEWIDE", "ALL COUNTIES", "05402", "00", 1.000, 1.000, 0.352, "680-693"},
    {"NEVADA", "NV", "STATEWIDE", "ALL COUNTIES", "01312", "99", 1.002, 1.000, 1.018, "889-898"},
    {"NEW HAMPSHIRE", "NH", "STATEWIDE", "ALL COUNTIES", "14312", "40", 1.000, 1.047, 0.783, "030-038"},
    {"NEW JERSEY", "NJ", "NORTHERN NJ", "BERGEN, ESSEX, HUDSON, HUNTERDON, MIDDLESEX, MORRIS, PASSAIC, SOMERSET, UNION",
     "12402", "01", 1.058, 1.230, 1.204, "070-076"},
    {"NEW JERSEY", "NJ", "REST OF NEW JERSEY", "ALL OTHER COUNTIES", "12402", "99", 1.042, 1.157, 1.204, "077-089"},
    {"NEW MEXICO", "NM", "STATEWIDE", "ALL COUNTIES", "04212", "05", 1.000, 0.911, 1.113, "870-884"},
    {"NEW YORK", "NY", "MANHATTAN", "NEW YORK", "13202", "01", 1.060, 1.300, 1.568, "100-102"},
    {"NEW YORK", "NY", "NYC SUBURBS/LONG I.", "BRONX, KINGS, NASSAU, RICHMOND, ROCKLAND, SUFFOLK, WESTCHESTER", "13202", "02", 1.050,
     1.270, 2.009, "103-104,112,115-119"},
    {"NEW YORK", "NY", "POUGHKPSIE/N NYC SUBURBS", "COLUMBIA, DELAWARE, DUTCHESS, GREENE, ORANGE, PUTNAM, SULLIVAN, ULSTER",
     "13202", "03", 1.016, 1.097, 1.209, "105-109,125-126"},
    {"NEW YORK", "NY", "QUEENS", "QUEENS", "13292", "04", 1.059, 1.235, 2.043, "110-111,113-114"},
    {"NEW YORK", "NY", "REST OF NEW YORK", "ALL OTHER COUNTIES", "13282", "99", 1.000, 0.941, 0.559, "120-124,127-149"},
    {"NORTH CAROLINA", "NC", "STATEWIDE", "ALL COUNTIES", "11502", "00", 1.000, 0.923, 0.759, "270-289"},
    {"NORTH DAKOTA", "ND", "STATEWIDE", "ALL COUNTIES", "03302", "01", 1.000, 1.000, 0.375, "580-588"},
    {"OHIO", "OH", "STATEWIDE", "ALL COUNTIES", "15202", "00", 1.000, 0.902, 1.098, "430-459"},
    {"OKLAHOMA", "OK", "STATEWIDE", "ALL COUNTIES", "04312", "00", 1.000, 0.872, 0.693, "730-749"},
    {"OREGON", "OR", "PORTLAND", "CLACKAMAS, MULTNOMAH, WASHINGTON", "02402", "01", 1.016, 1.076, 0.563, "970-972"},
    {"OREGON", "OR", "REST OF OREGON", "ALL OTHER COUNTIES", "02402", "99", 1.000, 0.966, 0.563, "973-979"},
    {"PENNSYLVANIA", "PA", "METROPOLITAN PHILADELPHIA", "BUCKS, CHESTER, DELAWARE, MONTGOMERY, PHILADELPHIA", "12502", "01",
     1.023, 1.089, 1.595, "189-191,193-194"},
    {"PENNSYLVANIA", "PA", "REST OF PENNSYLVANIA", "ALL OTHER COUNTIES", "12502", "99", 1.000, 0.913, 1.047, "150-188,195-196"},
    {"PUERTO RICO", "PR", "PUERTO RICO", "ALL MUNICIPIOS", "09202", "20", 0.960, 0.855, 0.305, "006-007,009"},
    {"RHODE ISLAND", "RI", "STATEWIDE", "ALL COUNTIES", "14412", "01", 1.017, 1.046, 0.940, "028-029"},
    {"SOUTH CAROLINA", "SC", "STATEWIDE", "ALL COUNTIES", "11202", "01", 1.000, 0.894, 0.543, "290-299"},
    {"SOUTH DAKOTA", "SD", "STATEWIDE", "ALL COUNTIES", "03402", "02", 1.000, 1.000, 0.399, "570-577"},
    {"TENNESSEE", "TN", "STATEWIDE", "ALL COUNTIES", "10312", "35", 1.000, 0.888, 0.553, "370-385"},
    {"TEXAS", "TX", "AUSTIN", "TRAVIS", "04412", "31", 1.000, 1.040, 0.740, "786-787"},
    {"TEXAS", "TX", "BEAUMONT", "JEFFERSON", "04412", "20", 1.000, 0.918, 0.887, "776-777"},
    {"TEXAS", "TX", "BRAZORIA", "BRAZORIA", "04412", "09", 1.020, 0.985, 0.887, "774"},
    {"TEXAS", "TX", "DALLAS", "DALLAS", "04412", "11", 1.010, 1.042, 0.797, "750-753"},
    {"TEXAS", "TX", "FORT WORTH", "TARRANT", "04412", "28", 1.000, 0.990, 0.797, "760-761"},
    {"TEXAS", "TX", "GALVESTON", "GALVESTON", "04412", "15", 1.000, 0.996, 0.887, "775"},
    {"TEXAS", "TX", "HOUSTON", "HARRIS", "04412", "18", 1.019, 1.013, 0.887, "770-773"},
    {"TEXAS", "TX", "REST OF TEXAS", "ALL OTHER COUNTIES", "04412", "99", 1.000, 0.903, 0.811, "754-759,762-769,778-785,788-799,885"},
    {"UTAH", "UT", "STATEWIDE", "ALL COUNTIES", "03502", "09", 1.000, 0.928, 0.913, "840-847"},
    {"VERMONT", "VT", "STATEWIDE", "ALL COUNTIES", "14512", "50", 1.000, 0.987, 0.534, "050-059"},
    {"VIRGIN ISLANDS", "VI", "VIRGIN ISLANDS", "ALL ISLANDS", "09202", "50", 1.000, 1.000, 1.000, "008"},
    {"VIRGINIA", "VA", "STATEWIDE", "ALL COUNTIES", "11302", "00", 1.000, 0.958, 0.749, "224-246"},
    {"WASHINGTON", "WA", "SEATTLE (KING CNTY)", "KING", "02502", "02", 1.027, 1.154, 0.788, "980-981"},
    {"WASHINGTON", "WA", "REST OF WASHINGTON", "ALL OTHER COUNTIES", "02502", "99", 1.000, 0.988, 0.761, "982-994"},
    {"WEST VIRGINIA", "WV", "STATEWIDE", "ALL COUNTIES", "11402", "16", 1.000, 0.852, 1.441, "247-268"},
    {"WISCONSIN", "WI", "STATEWIDE", "ALL COUNTIES", "06402", "00", 1.000, 0.948, 0.384, "530-549"},
    {"WYOMING", "WY", "STATEWIDE", "ALL COUNTIES", "03602", "21", 1.000, 1.000, 0.887, "820-831"},
};

// Prefixes of a text such as "100-102,112"; "*" stands for the California prefixes no other locality has.
std::vector<int> parsePrefixes(const std::string& text, const std::set<int>& taken)
{
    std::vector<int> out;
    if (text == "*") {
        for (int p = 900; p <= 961; ++p)
            if (!taken.count(p))
                out.push_back(p);
        return out;
    }
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) {
        const auto dash = part.find('-');
        const int lo = std::stoi(part.substr(0, dash));
        const int hi = dash == std::string::npos ? lo : std::stoi(part.substr(dash + 1));
        for (int p = lo; p <= hi; ++p)
            out.push_back(p);
    }
    return out;
}

std::string zipText(int zip)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%05d", zip);
    return buf;
}

}  // namespace

double participatingFee(double work, double pe, double mp, const Locality& loc)
{
    const double p = (jet::round(work, 2) * loc.work + pe * loc.pract + mp * loc.malp) * ConversionFactor;
    return jet::round(p, 2);
}

void writeLocalities(sqlite3* db, Sample& sample)
{
    std::set<int> taken;
    for (const LocalityRow& r : Rows)
        if (std::string(r.zips) != "*")
            for (int p : parsePrefixes(r.zips, {}))
                taken.insert(p);
    for (const LocalityRow& r : Rows) {
        Locality l{r.state, r.st, r.desc, r.county, r.carrier, r.loccode, r.work, r.pract, r.malp, {}};
        l.zipPrefixes = parsePrefixes(r.zips, taken);
        sample.localities.push_back(std::move(l));
    }
    std::stable_sort(sample.localities.begin(), sample.localities.end(), [](const Locality& a, const Locality& b) {
        return std::tie(a.state, a.desc) < std::tie(b.state, b.desc);
    });

    TableWriter location(db, "LOCATION");
    location.insert({std::string("NATIONAL VALUES"), std::string("**"), std::string("NATIONAL VALUES"), Value{}, Value{},
                     Value{}, 1.0, 1.0, 1.0});
    for (const Locality& l : sample.localities)
        location.insert({l.state, l.st, l.desc, l.county, l.carrier, l.loccode, l.work, l.pract, l.malp});

    // A handful of ZIP codes per prefix, always including <prefix>01; about one in eight outside the
    // large cities carries the rural indicator.
    Random rng(sample.seed, "ZPLC");
    struct Zip {
        int zip;
        const Locality* loc;
        bool rural;
    };
    std::vector<Zip> zips;
    for (const Locality& l : sample.localities) {
        const bool metro = l.desc != "STATEWIDE" && l.desc.rfind("REST OF", 0) != 0;
        for (int prefix : l.zipPrefixes) {
            std::set<int> picked{1};
            const int count = rng.range(3, 7);
            while (int(picked.size()) < count)
                picked.insert(rng.range(0, 99));
            for (int z : picked)
                zips.push_back({prefix * 100 + z, &l, !metro && z != 1 && rng.chance(0.12)});
        }
    }
    std::sort(zips.begin(), zips.end(), [](const Zip& a, const Zip& b) { return a.zip < b.zip; });
    TableWriter zplc(db, "ZPLC");
    for (const Zip& z : zips)
        zplc.insert({zipText(z.zip), z.loc->carrier, z.loc->loccode, z.rural ? Value(std::string("R")) : Value{},
                     std::string("20141")});
}

}  // namespace datagen
