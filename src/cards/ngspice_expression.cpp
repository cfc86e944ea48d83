#include "cards/ngspice_expression.h"

#include <span>
#include <vector>

#include "platform/ascii.h"

namespace zav {
namespace {

constexpr bool IsNameStart(char c) { return IsAsciiAlpha(c) || c == '_'; }
constexpr bool IsNameChar(char c) { return IsNameStart(c) || IsAsciiDigit(c); }

// Functions whose arguments name nodes or devices, not values: V(a,b), I(V1)
// and their AC forms.
constexpr std::string_view kProbeFunctions[] = {
    "V", "VR", "VI", "VM", "VP", "VDB", "VG", "I", "IR", "II", "IM", "IP", "IDB", "IG",
};

// Functions of the dialect that ngspice has under no spelling.
constexpr std::string_view kFunctionsNgspiceLacks[] = {
    "ATAN2",
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The position of the ")" that closes the "(" at `open`, or npos.
std::size_t ClosingParenthesis(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t pos = open; pos < text.size(); ++pos) {
    if (text[pos] == '(') ++depth;
    if (text[pos] == ')' && --depth == 0) return pos;
  }
  return std::string_view::npos;
}

// The arguments of a call, cut at the commas outside parentheses and braces.
std::vector<std::string_view> Arguments(std::string_view inside) {
  std::vector<std::string_view> arguments;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < inside.size(); ++pos) {
    const char c = inside[pos];
    if (c == '(' || c == '{') ++depth;
    if (c == ')' || c == '}') --depth;
    if (c == ',' && depth == 0) {
      arguments.push_back(inside.substr(start, pos - start));
      start = pos + 1;
    }
  }
  arguments.push_back(inside.substr(start));
  return arguments;
}

// A number as written: sign, digits and point, exponent, scale suffix
// ("-1.5E-3", "17.2p", "10MEG").
bool IsNumberLiteral(std::string_view text) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  if (pos == text.size() || !(IsAsciiDigit(text[pos]) || text[pos] == '.')) return false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    const bool exponentSign = (c == '+' || c == '-') && (text[pos - 1] == 'e' || text[pos - 1] == 'E');
    if (!(IsNameChar(c) || c == '.' || exponentSign)) return false;
  }
  return true;
}

bool IsOneOf(std::string_view name, std::span<const std::string_view> names) {
  for (std::string_view candidate : names) {
    if (EqualsNoCase(name, candidate)) return true;
  }
  return false;
}

// TABLE(x, x1, y1, ..., xn, yn) as conditionals: y1 up to x1, the straight
// line between two points inside, yn beyond xn.
std::string InterpolationOf(const std::vector<std::string>& a) {
  const std::string x = "(" + a[0] + ")";
  const std::size_t n = (a.size() - 1) / 2;
  auto X = [&](std::size_t i) { return "(" + a[1 + 2 * i] + ")"; };
  auto Y = [&](std::size_t i) { return "(" + a[2 + 2 * i] + ")"; };
  std::string out = Y(n - 1);
  for (std::size_t i = n - 1; i-- > 0;) {
    out = "(" + x + " <= " + X(i + 1) + " ? " + Y(i) + " + (" + Y(i + 1) + " - " + Y(i) + ") * (" + x + " - " +
          X(i) + ") / (" + X(i + 1) + " - " + X(i) + ") : " + out + ")";
  }
  return "(" + x + " <= " + X(0) + " ? " + Y(0) + " : " + out + ")";
}

class Rewriter {
 public:
  explicit Rewriter(ExpressionUse use) : use_(use) {}

  std::string Expression(std::string_view in);

  bool changed() const { return !changes_.empty(); }
  const std::string& changes() const { return changes_; }
  const std::string& unknownFunction() const { return unknownFunction_; }

 private:
  void Note(std::string_view what);
  std::string Call(std::string_view name, std::string_view head, std::string_view inside, bool closed);
  std::string Variable(std::string_view name);

  ExpressionUse use_;
  std::string changes_;
  std::string unknownFunction_;
};

void Rewriter::Note(std::string_view what) {
  // Each kind of change is named once, in the order first met.
  std::size_t pos = 0;
  while (pos < changes_.size()) {
    std::size_t end = changes_.find(", ", pos);
    if (end == std::string::npos) end = changes_.size();
    if (std::string_view(changes_).substr(pos, end - pos) == what) return;
    pos = end + 2;
  }
  if (!changes_.empty()) changes_ += ", ";
  changes_ += what;
}

std::string Rewriter::Expression(std::string_view in) {
  std::string out;
  out.reserve(in.size() + 16);
  std::size_t i = 0;
  while (i < in.size()) {
    const char c = in[i];
    if (c == '{' || c == '}') {
      // ngspice takes braces only around a whole expression.
      out += c == '{' ? '(' : ')';
      Note("inner braces");
      ++i;
    } else if (c == '&' || c == '|') {
      out += c;
      out += c;
      if (i + 1 < in.size() && in[i + 1] == c) {
        i += 2;
      } else {
        Note(c == '&' ? "&" : "|");
        ++i;
      }
    } else if (IsAsciiDigit(c) || c == '.') {
      // A number with its exponent letter and scale suffix (1E3, 10MEG): no
      // letter of it is a name.
      std::size_t end = i + 1;
      while (end < in.size() && (IsNameChar(in[end]) || in[end] == '.')) ++end;
      out.append(in.substr(i, end - i));
      i = end;
    } else if (IsNameStart(c)) {
      std::size_t end = i + 1;
      while (end < in.size() && IsNameChar(in[end])) ++end;
      const std::string_view name = in.substr(i, end - i);
      std::size_t open = end;
      while (open < in.size() && IsAsciiSpace(in[open])) ++open;
      if (open < in.size() && in[open] == '(') {
        const std::size_t close = ClosingParenthesis(in, open);
        const bool closed = close != std::string_view::npos;
        const std::size_t insideEnd = closed ? close : in.size();
        out += Call(name, in.substr(i, open - i), in.substr(open + 1, insideEnd - open - 1), closed);
        i = closed ? close + 1 : in.size();
      } else {
        out += Variable(name);
        i = end;
      }
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::string Rewriter::Call(std::string_view name, std::string_view head, std::string_view inside, bool closed) {
  const std::string closing = closed ? ")" : "";
  if (IsOneOf(name, kProbeFunctions)) return std::string(head) + "(" + std::string(inside) + closing;

  if (closed) {
    const std::vector<std::string_view> raw = Arguments(inside);
    std::vector<std::string> a;
    a.reserve(raw.size());
    for (std::string_view argument : raw) a.push_back(Expression(Trimmed(argument)));

    // The dialect's IF(c, a, b).
    if (EqualsNoCase(name, "IF") && a.size() == 3) {
      Note("IF");
      return "((" + a[0] + ") ? (" + a[1] + ") : (" + a[2] + "))";
    }
    // LIMIT(x, low, high) keeps x between the two.
    if (EqualsNoCase(name, "LIMIT") && a.size() == 3) {
      Note("LIMIT");
      return "min(max(" + a[0] + ", " + a[1] + "), " + a[2] + ")";
    }
    // PWR is |x| to the power y in the dialect; ngspice's pwr keeps the sign
    // of x in a behavioural source.
    if (EqualsNoCase(name, "PWR") && a.size() == 2) {
      Note("PWR");
      return "(abs(" + a[0] + ") ** (" + a[1] + "))";
    }
    if (EqualsNoCase(name, "PWRS") && a.size() == 2) {
      Note("PWRS");
      return "(sgn(" + a[0] + ") * abs(" + a[0] + ") ** (" + a[1] + "))";
    }
    // The unit step.
    if (EqualsNoCase(name, "STP") && a.size() == 1) {
      Note("STP");
      return "((" + a[0] + ") > 0 ? 1 : 0)";
    }
    // TABLE(x, x1, y1, ...) interpolates between the points and holds the
    // end values beyond them, like ngspice's pwl; but pwl is only in
    // behavioural sources, and only with points written as numbers (given
    // anything else, ngspice 39 even crashes). Otherwise the same line is
    // spelled out with conditionals, which both evaluators have.
    if (EqualsNoCase(name, "TABLE") && a.size() >= 3 && a.size() % 2 == 1) {
      Note("TABLE");
      bool literalPoints = true;
      for (std::size_t k = 1; k < a.size(); ++k) literalPoints = literalPoints && IsNumberLiteral(a[k]);
      if (use_ == ExpressionUse::Behavioural && literalPoints) {
        std::string out = "pwl(";
        for (std::size_t k = 0; k < a.size(); ++k) out += (k == 0 ? "" : ", ") + a[k];
        return out + ")";
      }
      return InterpolationOf(a);
    }
  }
  if (IsOneOf(name, kFunctionsNgspiceLacks) && unknownFunction_.empty()) unknownFunction_ = std::string(name);
  return std::string(head) + "(" + Expression(inside) + closing;
}

std::string Rewriter::Variable(std::string_view name) {
  // The simulation temperature.
  if (EqualsNoCase(name, "TEMP")) {
    Note("TEMP");
    return "temper";
  }
  // A behavioural source knows pi; the parameter evaluator does not.
  if (EqualsNoCase(name, "PI") && use_ == ExpressionUse::Parameter) {
    Note("PI");
    return "3.141592653589793";
  }
  return std::string(name);
}

}  // namespace

std::size_t BraceExpressionEnd(std::string_view text, std::size_t open) {
  int depth = 0;
  return BraceExpressionEnd(text, open, depth);
}

std::size_t BraceExpressionEnd(std::string_view text, std::size_t from, int& depth) {
  for (std::size_t pos = from; pos < text.size(); ++pos) {
    if (text[pos] == '{') {
      ++depth;
    } else if (text[pos] == '}' && depth > 0 && --depth == 0) {
      return pos + 1;
    } else if (text[pos] == '\n') {
      return pos;
    }
  }
  return text.size();
}

int OpenBraces(std::string_view text) {
  int depth = 0;
  for (char c : text) {
    if (c == '{') ++depth;
    if (c == '}' && depth > 0) --depth;
  }
  return depth;
}

bool RewriteForNgspice(std::string_view braced, ExpressionUse use, NgspiceExpression& out) {
  if (braced.empty() || braced.front() != '{') return false;
  const bool closed = braced.size() >= 2 && braced.back() == '}';
  const std::string_view inner = braced.substr(1, braced.size() - (closed ? 2 : 1));
  Rewriter rewriter(use);
  std::string text = rewriter.Expression(inner);
  out.unknownFunction = rewriter.unknownFunction();
  if (!rewriter.changed()) return false;
  out.text = "{" + text + (closed ? "}" : "");
  out.changes = rewriter.changes();
  return true;
}

}  // namespace zav
