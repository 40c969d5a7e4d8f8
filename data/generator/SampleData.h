#pragma once

#include "Random.h"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace datagen {

inline constexpr double ConversionFactor = 35.8228;

// One Medicare carrier locality (a row of LOCATION) and the ZIP code prefixes that map to it.
struct Locality {
    std::string state, st, desc, county, carrier, loccode;
    double work = 1, pract = 1, malp = 1;
    std::vector<int> zipPrefixes;  // three-digit prefixes
};

// One physician code row as the generator keeps it (the columns that later tables reuse).
struct PhysicianCode {
    std::string cpt, mod, status, global, pctc, desc, ldesc;
    double work = 0, nfpe = 0, fpe = 0, mp = 0;
    bool naNonFacility = false, naFacility = false;
    std::string preop = "0.00", intraop = "0.00", postop = "0.00";
    std::string multproc = "9", bilatsurg = "9", asstsurg = "9", cosurg = "9", teamsurg = "9", physsupv = "09";
    std::string endobase;
    double oppsNf = 0, oppsF = 0, oppsMp = 0;
    std::string oppsInd = "-";
    int calcflag = 0;
    std::string codemod() const { return cpt + mod; }
};

// What one table's writer leaves for the next ones.
struct Sample {
    std::uint64_t seed = 0;
    std::vector<Locality> localities;   // stored order, without the national row
    std::vector<PhysicianCode> codes;   // DATA0000 in stored order
};

// The participating amount of the fee formula: round((round(work, 2) x w + pe x p + mp x m) x CF, 2).
double participatingFee(double work, double pe, double mp, const Locality& loc);

void writeLocalities(sqlite3* db, Sample& sample);  // LOCATION, ZPLC
void writePhysician(sqlite3* db, Sample& sample);   // DATA0000, DATAOPPSVIEW, GAP, specdesc, specfreq
void writeFamilies(sqlite3* db, Sample& sample);    // DME, DMECATS, LAB, JCD, crosswalk, ASC tables, DRG, dates

}  // namespace datagen
