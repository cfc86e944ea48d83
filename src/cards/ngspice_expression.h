#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zav {

// When ngspice evaluates an expression, which decides the functions it has.
enum class ExpressionUse : unsigned char {
  // Once, while it reads the netlist: a value of a model, element, .PARAM or
  // subcircuit parameter.
  Parameter,
  // At every step of an analysis: the expression of a VALUE or TABLE source,
  // which ngspice makes a behavioural (B) source of.
  Behavioural,
};

// A brace expression in ngspice's spelling.
struct NgspiceExpression {
  std::string text;
  // What was rewritten, for the diagnostic: "IF, TEMP, inner braces".
  std::string changes;
  // A function the expression calls that ngspice does not have, or empty.
  std::string unknownFunction;
};

// The end of the brace expression that opens at `open` in a line's text: just
// after its matching "}", or the end of the text before its line feed when it
// is not closed on the line.
std::size_t BraceExpressionEnd(std::string_view text, std::size_t open);
// The same from any point of an expression that spans lines: `depth` is the
// number of braces open before `from` and becomes the number still open at
// the end (0 when the expression closed).
std::size_t BraceExpressionEnd(std::string_view text, std::size_t from, int& depth);

// Braces opened and not closed in `text` (an expression's piece on one line).
int OpenBraces(std::string_view text);

// Rewrites a brace expression as the dialect writes it ("{...}", possibly not
// closed) into what ngspice reads with the same meaning: IF(c,a,b) becomes
// c ? a : b; LIMIT, PWR, PWRS and STP, which ngspice lacks or defines
// differently, are spelled out; TABLE becomes pwl where ngspice has it; TEMP
// becomes temper; braces inside the expression become parentheses, "&" and
// "|" become "&&" and "||". The arguments of V(...) and I(...) are node and
// device names and stay as written. True when the text changed, with the new
// text in `out.text`; `out.unknownFunction` is set either way.
bool RewriteForNgspice(std::string_view braced, ExpressionUse use, NgspiceExpression& out);

}  // namespace zav
