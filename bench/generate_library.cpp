#include "generate_library.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>

namespace zav::bench {
namespace {

struct ModelShape {
  std::string_view type;
  std::string_view prefix;
  std::array<std::string_view, 12> params;  // empty names end the list
};

constexpr ModelShape kShapes[] = {
    {"NPN", "Q", {"IS", "BF", "NF", "VAF", "IKF", "ISE", "NE", "BR", "RB", "RC", "CJE", "TF"}},
    {"PNP", "Q", {"IS", "BF", "VAF", "IKF", "ISE", "BR", "RB", "RE", "CJC", "MJC", "TR", "XTB"}},
    {"D", "D", {"IS", "N", "RS", "CJO", "VJ", "M", "TT", "BV", "IBV", "EG", "XTI", "KF"}},
    {"NMOS", "M", {"LEVEL", "VTO", "KP", "GAMMA", "PHI", "LAMBDA", "RD", "RS", "CBD", "CGSO", "TOX", "L"}},
    {"PMOS", "M", {"LEVEL", "VTO", "KP", "THETA", "ETA", "KAPPA", "RD", "RS", "CGDO", "TOX", "UO", "W"}},
    {"NJF", "J", {"VTO", "BETA", "LAMBDA", "RD", "RS", "CGS", "CGD", "PB", "IS", "FC", "", ""}},
    {"CAP", "C", {"C", "TC1", "TC2", "VC1", "", "", "", "", "", "", "", ""}},
    {"RES", "R", {"R", "TC1", "TC2", "TCE", "", "", "", "", "", "", "", ""}},
    {"IND", "L", {"L", "TC1", "TC2", "IL1", "", "", "", "", "", "", "", ""}},
    {"VSWITCH", "S", {"RON", "ROFF", "VON", "VOFF", "", "", "", "", "", "", "", ""}},
};

constexpr std::string_view kValues[] = {"1E-14", "100",   "2.5",  "0.7", "12.3p", "4.7n",
                                        "1.0E-3", "25",   "0.33", "3",   "10MEG", ".5"};

constexpr std::string_view kRemarks[] = {"typical", "from datasheet", "fitted at 25C", "rev B", "do not edit"};

class Writer {
 public:
  Writer(const LibraryOptions& options) : options_(options), random_(options.seed) {}

  std::string Run() {
    text_.reserve(options_.targetBytes + 4096);
    Line("* Synthetic model library for benchmarks");
    Line("* seed " + std::to_string(options_.seed));
    for (std::size_t n = 0; text_.size() < options_.targetBytes; ++n) {
      if (n % 5 == 4) {
        Subcircuit(n);
      } else {
        Model(n, kShapes[Pick(std::size(kShapes))]);
      }
    }
    return std::move(text_);
  }

 private:
  std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

  void Line(std::string_view line) {
    text_.append(line);
    if (options_.crlf) text_.push_back('\r');
    text_.push_back('\n');
  }

  std::string_view Value() { return kValues[Pick(std::size(kValues))]; }

  // A model card: name and type on the first line, the parameters on "+"
  // lines, three or four to a line, now and then with an inline comment.
  std::string Model(std::size_t n, const ModelShape& shape, std::string_view suffix = "") {
    const std::string name = std::string(shape.prefix) + "MOD" + std::to_string(n) + std::string(suffix);
    if (Pick(3) == 0) Line("* " + name + " " + std::string(kRemarks[Pick(std::size(kRemarks))]));
    Line(".MODEL " + name + " " + std::string(shape.type) + "(");
    std::string line = "+";
    int onLine = 0;
    for (std::string_view param : shape.params) {
      if (param.empty()) break;
      line += " ";
      line += param;
      line += "=";
      line += param == "LEVEL" ? std::string_view("3") : Value();
      if (++onLine == 4) {
        if (Pick(4) == 0) line += " ; " + std::string(kRemarks[Pick(std::size(kRemarks))]);
        Line(line);
        line = "+";
        onLine = 0;
      }
    }
    Line(line + ")");
    return name;
  }

  // A subcircuit with models of its own and elements that use them and the
  // models defined at the top level before it.
  void Subcircuit(std::size_t n) {
    const std::string name = "AMP" + std::to_string(n);
    Line("*");
    Line("* " + name + ": synthetic amplifier block");
    Line(".SUBCKT " + name + " IN OUT VCC VEE PARAMS: GAIN=10 RLOAD=1K");
    const std::string qmod = Model(n, kShapes[0], "I");
    const std::string dmod = Model(n, kShapes[2], "I");
    const std::string mmod = Model(n, kShapes[3], "I");
    for (int stage = 0; stage < 4; ++stage) {
      const std::string s = std::to_string(stage);
      Line("Q" + s + " N" + s + "C N" + s + "B N" + s + "E " + qmod);
      Line("R" + s + " N" + s + "C VCC " + std::string(Value()) + " TC=0.001");
      Line("C" + s + " N" + s + "B 0 " + std::string(Value()) + "  ; coupling");
      Line("D" + s + " N" + s + "E VEE " + dmod);
      Line("M" + s + " OUT N" + s + "B VEE VEE " + mmod + " L=1U W=" + std::string(Value()) + "U");
    }
    Line("E1 OUT 0 IN 0 {GAIN}");
    Line("G1 OUT 0 IN 0 0.5");
    Line("V1 VCC 0 DC 15");
    Line("X1 IN OUT BUF" + std::to_string(n));
    Line(".SUBCKT BUF" + std::to_string(n) + " A B");
    Line("R1 A B 1K");
    Line(".ENDS BUF" + std::to_string(n));
    Line(".ENDS " + name);
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
