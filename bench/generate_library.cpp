#include "generate_library.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>
#include <vector>

namespace zav::bench {
namespace {

// One parameter of a model as vendors write it. `value` empty: a number is
// drawn.
struct Param {
  std::string_view name;
  std::string_view value = {};
};

// The parameters a model type is written with: the usual ones first (most
// stay as they are), then those the translation renames, moves to the
// instances or comments out, and vendor tags; each model takes a random share
// of the last three groups.
struct ModelFamily {
  std::string_view type;
  std::vector<Param> usual;
  std::vector<Param> renamed;    // old names the host spells differently
  std::vector<Param> moved;      // device temperatures, geometry, TC
  std::vector<Param> dropped;    // not supported, or not known at all
};

const std::vector<ModelFamily>& Families() {
  static const std::vector<ModelFamily> families = {
      {"NPN",
       {{"IS"}, {"BF"}, {"NF"}, {"VAF"}, {"IKF"}, {"ISE"}, {"NE"}, {"BR"}, {"NR"}, {"VAR"}, {"IKR"}, {"ISC"},
        {"NC"}, {"RB"}, {"RE"}, {"RC"}, {"CJE"}, {"VJE"}, {"MJE"}, {"CJC"}, {"VJC"}, {"MJC"}, {"TF"}, {"XTF"},
        {"VTF"}, {"ITF"}, {"TR"}, {"XTB"}, {"EG", "1.11"}, {"XTI", "3"}, {"FC", ".5"}},
       {{"VA"}, {"PE"}, {"ME"}, {"PC"}, {"MC"}, {"C2"}, {"C4"}, {"IK"}, {"T_MEASURED", "25"}},
       {{"T_ABS", "27"}, {"T_REL_GLOBAL", "5"}},
       {{"RCO"}, {"QCO"}, {"GAMMA"}, {"Vceo", "40"}, {"Icrating", "200m"}, {"mfg", "Fairchild"}}},
      {"PNP",
       {{"IS"}, {"BF"}, {"NF"}, {"VAF"}, {"IKF"}, {"ISE"}, {"NE"}, {"BR"}, {"NR"}, {"RB"}, {"RC"}, {"CJE"},
        {"MJE"}, {"CJC"}, {"MJC"}, {"TF"}, {"TR"}, {"XTB"}, {"FC", ".5"}},
       {{"VA"}, {"VB"}, {"PE"}, {"PC"}, {"PT", "3"}},
       {{"T_ABS", "27"}},
       {{"VO"}, {"Vceo", "60"}, {"Icrating", "600m"}, {"mfg", "Philips"}}},
      {"LPNP",
       {{"IS"}, {"BF"}, {"NF"}, {"VAF"}, {"IKF"}, {"BR"}, {"RB"}, {"RC"}, {"CJE"}, {"CJC"}, {"TF"}, {"TR"}},
       {{"VA"}, {"PE"}},
       {},
       {{"XCJC2"}}},
      {"D",
       {{"IS"}, {"N"}, {"RS"}, {"CJO"}, {"VJ"}, {"M"}, {"TT"}, {"BV"}, {"IBV"}, {"EG", "1.11"}, {"XTI", "3"},
        {"FC", ".5"}, {"NR"}, {"ISR"}, {"IKF"}},
       {{"TBV1"}, {"TRS1"}, {"T_MEASURED", "27"}},
       {{"T_ABS", "25"}},
       {{"IBVL"}, {"NBV"}, {"Iave", "1"}, {"Vpk", "100"}, {"mfg", "Diodes"}, {"type", "silicon"}}},
      {"NJF",
       {{"VTO", "-2.1"}, {"BETA"}, {"LAMBDA"}, {"RD"}, {"RS"}, {"CGS"}, {"CGD"}, {"PB"}, {"IS"}, {"FC", ".5"},
        {"KF"}, {"AF", "1"}},
       {{"T_MEASURED", "25"}},
       {{"T_REL_GLOBAL", "10"}},
       {{"ALPHA"}, {"VK"}, {"BETATCE"}, {"N"}, {"mfg", "Siliconix"}}},
      {"PJF",
       {{"VTO", "1.8"}, {"BETA"}, {"LAMBDA"}, {"RD"}, {"RS"}, {"CGS"}, {"CGD"}, {"PB"}, {"IS"}},
       {},
       {},
       {{"XTI"}, {"VTOTC"}}},
      {"CAP",
       {},
       {{"T_MEASURED", "27"}},
       {{"TC1"}, {"TC2"}},
       {{"C", "1"}, {"VC1"}, {"VC2"}}},
      {"RES",
       {{"TC1"}, {"TC2"}},
       {{"T_MEASURED", "27"}},
       {{"T_ABS", "25"}},
       {{"R", "1"}, {"TCE"}}},
      {"IND",
       {},
       {},
       {{"TC1"}, {"TC2"}},
       {{"L", "1"}, {"IL1"}, {"IL2"}}},
      {"VSWITCH", {{"RON"}, {"ROFF"}}, {{"VON"}, {"VOFF"}}, {{"T_ABS", "27"}}, {}},
      {"ISWITCH", {{"RON"}, {"ROFF"}}, {{"ION"}, {"IOFF"}}, {}, {}},
  };
  return families;
}

// MOSFET parameters by level; L and W move to the transistors.
const std::vector<Param> kMosfetLevel1 = {{"VTO"}, {"KP"}, {"GAMMA"}, {"PHI"}, {"LAMBDA"}, {"RD"}, {"RS"},
                                          {"CBD"}, {"CBS"}, {"IS"}, {"PB"}, {"CGSO"}, {"CGDO"}, {"TOX"},
                                          {"UO"}, {"LD"}};
const std::vector<Param> kMosfetLevel3 = {{"VTO"}, {"KP"}, {"GAMMA"}, {"PHI"}, {"RD"}, {"RS"}, {"CBD"},
                                          {"IS"}, {"PB"}, {"CGSO"}, {"CGDO"}, {"RSH"}, {"TOX"}, {"NSUB"},
                                          {"UO"}, {"VMAX"}, {"XJ"}, {"THETA"}, {"ETA"}, {"KAPPA"}};
const std::vector<Param> kMosfetLevel7 = {
    {"TNOM", "27"}, {"TOX"}, {"XJ"}, {"NCH"}, {"VTH0"}, {"K1"}, {"K2"}, {"K3"}, {"K3B"}, {"W0"},
    {"NLX"}, {"DVT0W"}, {"DVT1W"}, {"DVT2W"}, {"DVT0"}, {"DVT1"}, {"DVT2"}, {"U0"}, {"UA"}, {"UB"},
    {"UC"}, {"VSAT"}, {"A0"}, {"AGS"}, {"B0"}, {"B1"}, {"KETA"}, {"A1"}, {"A2"}, {"RDSW"},
    {"PRWG"}, {"PRWB"}, {"WR"}, {"WINT"}, {"LINT"}, {"DWG"}, {"DWB"}, {"VOFF"}, {"NFACTOR"}, {"CIT"},
    {"CDSC"}, {"CDSCD"}, {"CDSCB"}, {"ETA0"}, {"ETAB"}, {"DSUB"}, {"PCLM"}, {"PDIBLC1"}, {"PDIBLC2"},
    {"PDIBLCB"}, {"DROUT"}, {"PSCBE1"}, {"PSCBE2"}, {"PVAG"}, {"DELTA"}, {"RSH"}, {"MOBMOD", "1"},
    {"PRT"}, {"UTE"}, {"KT1"}, {"KT1L"}, {"KT2"}, {"UA1"}, {"UB1"}, {"UC1"}, {"AT"}, {"WL"}, {"WLN"},
    {"WW"}, {"WWN"}, {"WWL"}, {"LL"}, {"LLN"}, {"LW"}, {"LWN"}, {"LWL"}, {"CAPMOD", "2"}, {"XPART"},
    {"CGDO"}, {"CGSO"}, {"CGBO"}, {"CJ"}, {"PB"}, {"MJ"}, {"CJSW"}, {"PBSW"}, {"MJSW"}, {"CF"}};

constexpr std::string_view kNumbers[] = {"1E-14", "2.39E-14", "100",  "294.3", "2.5",   "0.7",  "12.3p",
                                         "4.7n",  "1.0E-3",   "25",   "0.33",  "3",     "10MEG", ".5",
                                         "1.008", "63.2",     "8.5m", "150",   "1.11",  "-0.25", "33.3u",
                                         "4.1K",  "0.0027",   "1.5",  "7.3E3", "1.2E-9"};

constexpr std::string_view kMakers[] = {"Fairchild", "Philips", "Motorola", "Zetex", "Siliconix", "Rohm"};

constexpr std::string_view kRemarks[] = {"typical",     "from datasheet", "fitted at 25C", "rev B",
                                         "do not edit", "measured 1995",  "worst case"};

class Writer {
 public:
  explicit Writer(const LibraryOptions& options) : options_(options), random_(options.seed) {}

  std::string Run() {
    text_.reserve(options_.targetBytes + 65536);
    Line("* Synthetic model library for benchmarks: discrete models, macromodels and power devices");
    Line("* seed " + std::to_string(options_.seed));
    Line("*");
    for (std::size_t n = 0; text_.size() < options_.targetBytes; ++n) {
      // Vendor libraries hold runs of one kind of block: a page of discrete
      // models, then a few macromodels, then power devices.
      switch (Pick(10)) {
        case 0:
        case 1:
        case 2:
        case 3:
          DiscreteModels(n);
          break;
        case 4:
        case 5:
        case 6:
          Macromodel(n);
          break;
        case 7:
        case 8:
          PowerDevice(n);
          break;
        default:
          Banner(n);
          break;
      }
    }
    return std::move(text_);
  }

 private:
  std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
  bool Chance(std::size_t percent) { return Pick(100) < percent; }

  void Line(std::string_view line) {
    text_.append(line);
    if (options_.crlf) text_.push_back('\r');
    text_.push_back('\n');
  }

  std::string_view Number() { return kNumbers[Pick(std::size(kNumbers))]; }
  std::string_view Remark() { return kRemarks[Pick(std::size(kRemarks))]; }

  std::string Cased(std::string_view text, bool lower) {
    std::string out(text);
    if (lower) {
      for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
    }
    return out;
  }

  // Writes a .MODEL card. Parameters go on the first line or on "+" lines,
  // a few to a line, as vendors do both; now and then a line ends in an
  // inline comment.
  void ModelCard(const std::string& name, std::string_view type, const std::vector<Param>& params,
                 std::string_view ako = {}) {
    const bool lower = Chance(25);
    const bool parenthesised = Chance(60);
    // A line holds at most 511 characters: longer ones arrive in pieces,
    // which no vendor file means to do.
    const bool oneLine = params.size() <= 24 && Chance(35);
    std::string line = Cased(".MODEL ", lower) + name + " ";
    if (!ako.empty()) {
      // "AKO:" may stand apart from the name it refers to, unless that name
      // begins with a digit (it would read as a number).
      const bool apart = ako.front() > '9' && Chance(50);
      line += (apart ? "ako: " : "AKO:") + std::string(ako) + " ";
    }
    line += Cased(type, lower);
    if (parenthesised) line += oneLine ? "(" : " (";
    const std::size_t perLine = 3 + Pick(4);
    std::size_t onLine = 0;
    bool first = true;
    for (const Param& param : params) {
      if (!oneLine && onLine == perLine) {
        if (Chance(15)) line += " ; " + std::string(Remark());
        Line(line);
        line = "+";
        onLine = 0;
        first = true;
      }
      if (!(first && parenthesised && oneLine && line.back() == '(')) line += " ";
      line += Cased(param.name, lower);
      line += "=";
      line += param.value.empty() ? Number() : param.value;
      ++onLine;
      first = false;
    }
    if (parenthesised) line += ")";
    Line(line);
  }

  // The parameters of one model of a family: most of the usual ones and a
  // share of the others.
  std::vector<Param> ParamsOf(const ModelFamily& family, std::size_t renamePercent, std::size_t movePercent,
                              std::size_t dropPercent) {
    std::vector<Param> params;
    for (const Param& p : family.usual) {
      if (Chance(80)) params.push_back(p);
    }
    for (const Param& p : family.renamed) {
      if (Chance(renamePercent)) params.push_back(p);
    }
    for (const Param& p : family.moved) {
      if (Chance(movePercent)) params.push_back(p);
    }
    for (const Param& p : family.dropped) {
      if (!Chance(dropPercent)) continue;
      if (p.name == "mfg") {
        params.push_back({"mfg", kMakers[Pick(std::size(kMakers))]});
      } else {
        params.push_back(p);
      }
    }
    return params;
  }

  const ModelFamily& Family(std::string_view type) {
    for (const ModelFamily& family : Families()) {
      if (family.type == type) return family;
    }
    return Families().front();
  }

  std::vector<Param> MosfetParams(int level, bool withGeometry) {
    std::vector<Param> params;
    params.push_back({"LEVEL", level == 7 ? "7" : level == 3 ? "3" : "1"});
    const std::vector<Param>& table = level == 7 ? kMosfetLevel7 : level == 3 ? kMosfetLevel3 : kMosfetLevel1;
    for (const Param& p : table) {
      if (Chance(85)) params.push_back(p);
    }
    if (withGeometry) {
      params.push_back({"L", "2U"});
      params.push_back({"W", "0.5"});
    }
    if (Chance(20)) params.push_back({"T_MEASURED", "25"});
    if (level == 1 && Chance(30)) params.push_back({"NFS"});
    if (level == 7 && Chance(40)) params.push_back({"NLEV", "3"});
    return params;
  }

  // A page of a discrete-device library: each part with a comment line, its
  // model, and now and then variants that refer to it by AKO.
  void DiscreteModels(std::size_t n) {
    static constexpr std::string_view kTypes[] = {"NPN", "NPN", "PNP", "PNP", "D",   "D",       "D",
                                                  "NJF", "PJF", "NMOS", "PMOS", "LPNP", "VSWITCH", "ISWITCH"};
    Line("*");
    Line("* Discrete devices, page " + std::to_string(n));
    const std::size_t parts = 4 + Pick(10);
    for (std::size_t i = 0; i < parts; ++i) {
      const std::string_view type = kTypes[Pick(std::size(kTypes))];
      const std::string name = std::string(type == "D" ? "1N" : type == "NJF" || type == "PJF" ? "J" : "Q") +
                               std::to_string(1000 + n * 16 + i);
      Line("* " + name + " " + std::string(type) + " " + std::string(Remark()) + "  " +
           std::string(kMakers[Pick(std::size(kMakers))]));
      if (type == "NMOS" || type == "PMOS") {
        const int level = Chance(40) ? 7 : Chance(50) ? 3 : 1;
        ModelCard(name, type, MosfetParams(level, Chance(30)));
      } else {
        ModelCard(name, type, ParamsOf(Family(type), 25, 8, 20));
      }
      if (type != "VSWITCH" && type != "ISWITCH" && Chance(15)) {
        // A selection of the same part: an AKO chain, written in order or
        // with the variant first.
        const std::string variant = name + "A";
        std::vector<Param> own = {{Family(type).usual.empty() ? "IS" : Family(type).usual[0].name}};
        if (Chance(50)) own.push_back({"Vceo", "60"});
        ModelCard(variant, type, own, name);
        if (Chance(40)) ModelCard(variant + "B", type, {{"BF"}}, variant);
      }
    }
  }

  // An operational-amplifier macromodel: controlled sources, a few
  // transistors and diodes whose models follow the elements, parameters with
  // expressions, a switch, and an instance of a helper block.
  void Macromodel(std::size_t n) {
    const std::string name = "OPA" + std::to_string(n);
    Line("*");
    Line("* " + name + " operational amplifier macromodel");
    Line("* connections:  non-inverting input");
    Line("*               | inverting input");
    Line("*               | | positive supply");
    Line("*               | | | negative supply");
    Line("*               | | | | output");
    Line("*               | | | | |");
    const std::string helper = "CLAMP" + std::to_string(n);
    Line(".SUBCKT " + helper + " A B");
    Line("D1 A B DCL");
    Line("D2 B A DCL");
    Line(".MODEL DCL D(IS=1E-15 N=" + std::string(Number()) + ")");
    Line(".ENDS " + helper);
    std::string head = ".SUBCKT " + name + " 1 2 3 4 5";
    if (Chance(50)) head += " PARAMS: GAIN=" + std::string(Number()) + " RLOAD=1K";
    Line(head);
    Line("C1 11 12 " + std::string(Number()));
    Line("C2 6 7 30.00E-12");
    Line("DC 8 53 DX");
    Line("DE 54 8 DX");
    Line("DLP 90 91 DX");
    Line("DLN 92 90 DX");
    Line("EGND 99 0 POLY(2) (3,0) (4,0) 0 .5 .5");
    Line("FB 7 99 POLY(5) VB VC VE VLP VLN 0 2.475E9 -2E9 2E9 2E9 -2E9");
    Line("GA 6 0 11 12 " + std::string(Number()));
    Line("GCM 0 6 10 99 225.7E-12");
    Line("IEE 3 10 DC 12.03E-6");
    Line("HLIM 90 0 VLIM 1K");
    Line("Q1 11 2 13 QX");
    Line("Q2 12 1 14 QX");
    Line("R2 6 9 100.0E3");
    Line("RC1 4 11 {RLOAD*2.3}");
    Line("RC2 4 12 8.841E3 ; matched to RC1");
    Line("RE1 13 10 " + std::string(Number()));
    Line("RE2 14 10 4.519E3");
    Line("REE 10 99 16.63E6");
    Line("RO1 8 5 80");
    Line("RO2 7 99 {RLOAD/12.5}");
    Line("CF 5 99 CMOD 2p");
    Line("S1 5 99 3 4 SMOD");
    Line("W1 6 99 VLIM WMOD");
    Line("VB 9 0 DC 0");
    Line("VC 3 53 DC 1.610");
    Line("VE 54 4 DC .61");
    Line("VLIM 7 8 DC 0");
    Line("VLP 91 0 DC 25");
    Line("VLN 0 92 DC 25");
    Line("X1 5 99 " + helper);
    Line(Chance(25) ? ".MODEL DX D(IS=800.0E-18 T_ABS=27)" : ".MODEL DX D(IS=800.0E-18)");
    ModelCard("QX", Chance(50) ? "NPN" : "PNP", ParamsOf(Family("NPN"), 30, 10, 10));
    ModelCard("CMOD", "CAP", {{"C", "1"}, {"TC1", "0.001"}, {"TC2", "1E-6"}});
    Line(".MODEL SMOD VSWITCH(RON=1 ROFF=1MEG VON=" + std::string(Number()) + " VOFF=0)");
    Line(".MODEL WMOD ISWITCH(ION=1m IOFF=0)");
    Line(".ENDS " + name);
  }

  // A power transistor: the transistor, its body diode, gate resistance and
  // stray inductances, each with a model of its own.
  void PowerDevice(std::size_t n) {
    const std::string name = "IRF" + std::to_string(500 + n);
    const int level = Chance(35) ? 7 : Chance(50) ? 3 : 1;
    Line("*");
    Line("* " + name + " power MOSFET, " + std::string(Remark()));
    Line(".SUBCKT " + name + " 1 2 3");
    Line("* drain gate source");
    Line("M1 9 7 8 8 MM L=100U W=100U");
    Line("RS 8 3 RMOD " + std::string(Number()));
    Line("RD 9 1 RMOD 1.2m");
    Line("RG 2 7 " + std::string(Number()));
    Line("CGS 7 8 CMOD 1.2n");
    Line("CGD 7 9 {CGDMAX*0.5}");
    Line("LD 1 9 LMOD 5n");
    Line("LS 3 8 LMOD 7.5n");
    Line("DBODY 8 1 DBD");
    Line("E1 10 8 9 8 1");
    Line("MSW 10 7 8 8 MSWITCH");
    ModelCard("MM", "NMOS", MosfetParams(level, false));
    ModelCard("MSWITCH", "NMOS", MosfetParams(1, true));
    ModelCard("RMOD", "RES", ParamsOf(Family("RES"), 50, 20, 20));
    ModelCard("CMOD", "CAP", {{"C", "1"}, {"TC1", "0.002"}});
    ModelCard("LMOD", "IND", {{"L", "1"}, {"TC1", "1E-4"}, {"TC2", "3E-7"}});
    ModelCard("DBD", "D", ParamsOf(Family("D"), 30, 20, 10));
    Line(".ENDS " + name);
  }

  // Revision history and a table of contents, as libraries open with.
  void Banner(std::size_t n) {
    Line("*******************************************************************");
    Line("* Library section " + std::to_string(n) + " -- " + std::string(Remark()));
    const std::size_t rows = 3 + Pick(8);
    for (std::size_t i = 0; i < rows; ++i) {
      Line("*   part " + std::to_string(n * 10 + i) + "     " + std::string(Number()) + "  " + std::string(Remark()));
    }
    Line("*******************************************************************");
    Line("");
  }

  const LibraryOptions& options_;
  std::mt19937 random_;
  std::string text_;
};

}  // namespace

std::string GenerateLibrary(const LibraryOptions& options) { return Writer(options).Run(); }

bool WriteLibrary(const std::string& path, const LibraryOptions& options) {
  const std::string text = GenerateLibrary(options);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace zav::bench
