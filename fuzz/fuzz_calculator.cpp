// The calculator's scanner and evaluator on arbitrary input: each line is one window input
// evaluated by one calculator (so variables carry over), then the whole input in one go
// with the built-in names only. Beyond the sanitizers it checks that a successful result is
// always finite, and that nothing but the engines' own errors escapes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engines/CalcSession.h"
#include "engines/ExprCalc.h"
#include "engines/NumConv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  zentrix::SeedCalcRandom(1);
  zentrix::TCalculator calculator;
  zentrix::TNumConv converter;
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string line(input.substr(start, end - start));
    calculator.SetExpression(line);
    try {
      if (!std::isfinite(calculator.Result())) std::abort();
    } catch (const zentrix::EZentrixError&) {
    }
    zentrix::ProcessCalcInput(calculator, converter, line);  // the window's lines and formats
    start = end + 1;
  }
  double result = 0;
  try {
    zentrix::Evaluate(input, result);
    if (!std::isfinite(result)) std::abort();
  } catch (const zentrix::EZentrixError&) {
  }
  return 0;
}
