#include "engines/ExprCalc.h"

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <random>

namespace zentrix {
namespace {

// π to the precision of the 80-bit intermediate type, so that 180 degrees rounds to the double
// nearest π.
constexpr long double kPi = 3.1415926535897932385L;

// Deep nesting ("((((...", "----...") would otherwise exhaust the stack on hostile input.
constexpr int kMaxDepth = 200;

constexpr std::size_t kMaxIdentifier = 32;

enum TToken {
  tkEnd,
  tkInvalid,
  tkNumber,
  tkIdent,
  tkOpen,
  tkClose,
  tkSemicolon,
  tkAssign,
  tkEqual,
  tkNotEqual,
  tkLess,
  tkLessEqual,
  tkGreater,
  tkGreaterEqual,
  tkShl,
  tkShr,
  tkPlus,
  tkMinus,
  tkMultiply,
  tkDivide,
  tkPower,
  tkMod,
  tkPercent,
  tkAnd,
  tkOr,
  tkXor,
  tkComplement,
  tkTruth,
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  return Lower(c) - 'a' + 10;
}

std::mt19937_64& Random() {
  thread_local std::mt19937_64 generator(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  return generator;
}

// Stores an operator's result as a double, raising what the floating-point unit would.
double Checked(long double value) {
  if (std::isnan(value)) throw EInvalidOp();
  if (!(std::fabs(value) <= static_cast<long double>(DBL_MAX))) throw EOverflow();
  return static_cast<double>(value);
}

// The integer view: truncation toward zero into a signed 64-bit integer.
std::int64_t ToInt64(double value) {
  const double t = std::trunc(value);
  if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0)) throw EInvalidOp();
  return static_cast<std::int64_t>(t);
}

double FromInt64(std::int64_t value) { return static_cast<double>(value); }

double Divide(double x, double y) {
  if (y == 0) {
    if (x == 0) throw EInvalidOp();
    throw EZeroDivide();
  }
  return Checked(x / y);
}

double Power(double x, double y) {
  if (x == 0) {
    if (y > 0) return 0;
    if (y == 0) return 1;
    throw EZeroDivide();
  }
  if (x < 0) throw EInvalidOp();  // the logarithm of a negative base
  return Checked(std::exp(static_cast<long double>(y) * std::log(static_cast<long double>(x))));
}

double Logarithm(double x, bool decimal) {
  if (x == 0) throw EZeroDivide();
  if (x < 0) throw EInvalidOp();
  return Checked(decimal ? std::log10(static_cast<long double>(x)) : std::log(static_cast<long double>(x)));
}

double RandomValue(double x) {
  const double n = std::rint(std::fabs(x));  // the default rounding mode: ties to even
  if (n == 1) return std::uniform_real_distribution<double>(0.0, 1.0)(Random());
  if (n == 0) return 0;
  const std::int64_t range = ToInt64(n);
  return FromInt64(std::uniform_int_distribution<std::int64_t>(0, range - 1)(Random()));
}

double CallFunction(std::size_t index, double x) {
  const long double v = x;
  switch (index) {
    case 0: return Checked(std::sin(v));
    case 1: return Checked(std::asin(v));
    case 2: return Checked(std::sinh(v));
    case 3: return Checked(std::asinh(v));
    case 4: return Checked(std::cos(v));
    case 5: return Checked(std::acos(v));
    case 6: return Checked(std::cosh(v));
    case 7: return Checked(std::acosh(v));
    case 8: return Checked(std::tan(v));
    case 9: return Checked(std::atan(v));
    case 10: return Checked(std::tanh(v));
    case 11:
      if (std::fabs(v) == 1) throw EZeroDivide();
      return Checked(std::atanh(v));
    case 12: {
      const long double t = std::tan(v);
      if (t == 0) throw EZeroDivide();
      return Checked(1 / t);
    }
    case 13: return Logarithm(x, false);
    case 14: return Checked(std::exp(v));
    case 15: return Logarithm(x, true);
    case 16: return RandomValue(x);
    case 17: return Checked(v * 57.29577951308232L);
    case 18: return Checked(v * 0.017453292519943295L);
    case 19: return Checked(v * 9 / 5 + 32);
    case 20: return Checked((v - 32) * 5 / 9);
    default: return x;
  }
}

const char* const kFunctions[] = {"sin", "asin", "sinh",  "asinh", "cos", "acos", "cosh",
                                  "acosh", "tan", "atan", "tanh", "atanh", "cotan", "ln",
                                  "exp", "log",  "rnd",  "deg",   "rad",   "ctof", "ftoc"};

struct TConstant {
  const char* Name;
  double Value;
};
const TConstant kConstants[] = {
    {"pi", 3.141592653589793},   {"e", 2.71828182845904},        {"c", 299792458},
    {"h", 6.6260755e-34},        {"g", 9.80665},                 {"au", 149597870691},
    {"pc", 3.08568e16},          {"a", 6.0221367e23},            {"b", 1.380658e-23},
    {"ly", 9460730472580800.0},  {"ec", 1.60217733e-19},         {"em", 9.1093897e-31},
};

// One evaluation: a scanner over the text and a recursive-descent evaluator that computes
// while it parses.
class TEvaluator {
public:
  TEvaluator(std::string_view text, const TIdentifierProc& callback, const TInterfaceTexts& texts)
      : FText(text), FCallback(callback), FTexts(texts) {}

  double Run() {
    Next();
    double value = BitLevel();
    while (FToken == tkSemicolon) {
      Next();
      value = BitLevel();
    }
    if (FToken != tkEnd) SyntaxError();
    return value;
  }

private:
  [[noreturn]] void SyntaxError() const { throw ECalculate(FTexts.Get("lc_SyntaxError", "Syntax error")); }
  [[noreturn]] static void OperandExpected() { throw ECalculate("Syntax error."); }
  [[noreturn]] void Unknown(const std::string& name) const {
    throw ECalculate(FTexts.Get("lc_UnknownIdentifier", "Unknown function or variable") + " \"" + name + "\".");
  }

  char At(std::size_t i) const { return i < FText.size() ? FText[i] : '\0'; }

  void Next() {
    while (FPos < FText.size() && static_cast<unsigned char>(FText[FPos]) <= 32) ++FPos;
    if (FPos >= FText.size()) {
      FToken = tkEnd;
      return;
    }
    const char c = FText[FPos];
    if (c == '$' || IsDigit(c)) return ScanNumber();
    if (IsLetter(c) || c == '_') {
      const std::size_t start = FPos++;
      while (FPos - start < kMaxIdentifier && (IsLetter(At(FPos)) || IsDigit(At(FPos)))) ++FPos;
      FIdent.assign(FText.substr(start, FPos - start));
      std::transform(FIdent.begin(), FIdent.end(), FIdent.begin(), Lower);
      FToken = tkIdent;
      return;
    }
    const char d = At(FPos + 1);
    auto take = [this](TToken token, std::size_t length) {
      FToken = token;
      FPos += length;
    };
    switch (c) {
      case '(': return take(tkOpen, 1);
      case ')': return take(tkClose, 1);
      case ';': return take(tkSemicolon, 1);
      case '=': return d == '=' ? take(tkEqual, 2) : take(tkAssign, 1);
      case '<':
        if (d == '>') return take(tkNotEqual, 2);
        if (d == '=') return take(tkLessEqual, 2);
        if (d == '<') return take(tkShl, 2);
        return take(tkLess, 1);
      case '>':
        if (d == '=') return take(tkGreaterEqual, 2);
        if (d == '>') return take(tkShr, 2);
        return take(tkGreater, 1);
      case '!': return d == '=' ? take(tkNotEqual, 2) : take(tkTruth, 1);
      case '+': return take(tkPlus, 1);
      case '-': return take(tkMinus, 1);
      case '*': return d == '*' ? take(tkPower, 2) : take(tkMultiply, 1);
      case '/': return take(tkDivide, 1);
      case '%': return d == '%' ? take(tkPercent, 2) : take(tkMod, 1);
      case '&': return take(tkAnd, 1);
      case '|': return take(tkOr, 1);
      case '^': return take(tkXor, 1);
      case '~': return take(tkComplement, 1);
      default: FToken = tkInvalid;  // not consumed
    }
  }

  long double Digits(std::size_t from, std::size_t to, int base) const {
    long double value = 0;
    for (std::size_t i = from; i < to; ++i) value = value * base + DigitValue(FText[i]);
    return value;
  }

  std::size_t DecimalRun(std::size_t from) const {
    while (IsDigit(At(from))) ++from;
    return from;
  }

  void ScanNumber() {
    const char first = At(FPos);
    const char second = Lower(At(FPos + 1));
    if (first == '$' || (first == '0' && second == 'x')) {
      // Base 16; G and H belong to the run only to make it invalid.
      const std::size_t start = FPos + (first == '$' ? 1 : 2);
      std::size_t end = start;
      bool valid = true;
      for (char l = Lower(At(end)); IsHexDigit(l) || l == 'g' || l == 'h'; l = Lower(At(++end)))
        if (l == 'g' || l == 'h') valid = false;
      FPos = end;
      return valid ? SetNumber(Digits(start, end, 16)) : void(FToken = tkInvalid);
    }
    if (first == '0' && second == 'b') {
      const std::size_t start = FPos + 2;
      std::size_t end = start;
      while (At(end) == '0' || At(end) == '1') ++end;
      FPos = end;
      return SetNumber(Digits(start, end, 2));
    }
    const std::size_t start = FPos;
    std::size_t end = start;
    while (IsHexDigit(At(end))) ++end;
    if (Lower(At(end)) == 'h') {
      FPos = end + 1;
      return SetNumber(Digits(start, end, 16));
    }
    FPos = end;
    if (std::any_of(FText.begin() + static_cast<std::ptrdiff_t>(start),
                    FText.begin() + static_cast<std::ptrdiff_t>(end), IsLetter)) {
      FToken = tkInvalid;
      return;
    }
    long double value = Digits(start, end, 10);
    if (At(FPos) == '`') {
      // Degrees, optional minutes and seconds, as an angle in radians within one turn.
      std::size_t minutesEnd = DecimalRun(FPos + 1);
      const long double minutes = Digits(FPos + 1, minutesEnd, 10);
      FPos = minutesEnd;
      long double seconds = 0;
      if (At(FPos) == '`') {
        const std::size_t secondsEnd = DecimalRun(FPos + 1);
        seconds = Digits(FPos + 1, secondsEnd, 10);
        FPos = secondsEnd;
      }
      long double angle = value * kPi / 180 + minutes * kPi / 180 / 60 + seconds * kPi / 180 / 60 / 60;
      if (!std::isfinite(angle)) throw EOverflow();
      angle -= 2 * kPi * std::trunc(angle / (2 * kPi));
      return SetNumber(angle);
    }
    if (At(FPos) == '.') {
      long double scale = 1;
      for (++FPos; IsDigit(At(FPos)); ++FPos) {
        scale /= 10;
        value += DigitValue(FText[FPos]) * scale;
      }
      if (Lower(At(FPos)) == 'e') {
        std::size_t i = FPos + 1;
        const bool negative = At(i) == '-';
        if (At(i) == '+' || At(i) == '-') ++i;
        if (!IsDigit(At(i))) {
          FToken = tkInvalid;
          return;
        }
        long exponent = 0;
        for (; IsDigit(At(i)); ++i) exponent = std::min(exponent * 10 + (At(i) - '0'), 100000L);
        FPos = i;
        // One factor of ten at a time; stop once the value can change no more.
        for (long k = 0; k < exponent && value != 0 && std::isfinite(value); ++k)
          value = negative ? value / 10 : value * 10;
      }
    }
    SetNumber(value);
  }

  void SetNumber(long double value) {
    FNumber = Checked(value);
    FToken = tkNumber;
  }

  struct TDepthGuard {
    explicit TDepthGuard(TEvaluator& e) : Owner(e) {
      if (++Owner.FDepth > kMaxDepth)
        throw ECalculate(Owner.FTexts.Get("lc_CalcTooDeep", "Expression nested too deeply"));
    }
    ~TDepthGuard() { --Owner.FDepth; }
    TEvaluator& Owner;
  };

  double BitLevel() {
    TDepthGuard guard(*this);
    double x = Comparison();
    for (;;) {
      const TToken op = FToken;
      if (op != tkOr && op != tkXor && op != tkAnd && op != tkShl && op != tkShr) return x;
      Next();
      const double yValue = Comparison();
      const std::int64_t a = ToInt64(x);
      const std::int64_t b = ToInt64(yValue);
      const auto ua = static_cast<std::uint64_t>(a);
      switch (op) {
        case tkOr: x = FromInt64(a | b); break;
        case tkXor: x = FromInt64(a ^ b); break;
        case tkAnd: x = FromInt64(a & b); break;
        case tkShl: x = (b < 0 || b > 63) ? 0 : FromInt64(static_cast<std::int64_t>(ua << b)); break;
        default: x = (b < 0 || b > 63) ? 0 : FromInt64(static_cast<std::int64_t>(ua >> b)); break;
      }
    }
  }

  double Comparison() {
    double x = Sum();
    for (;;) {
      const TToken op = FToken;
      if (op < tkEqual || op > tkGreaterEqual) return x;
      Next();
      const double y = Sum();
      bool truth = false;
      switch (op) {
        case tkEqual: truth = x == y; break;
        case tkNotEqual: truth = x != y; break;
        case tkLess: truth = x < y; break;
        case tkLessEqual: truth = x <= y; break;
        case tkGreater: truth = x > y; break;
        default: truth = x >= y; break;
      }
      x = truth ? 1 : 0;
    }
  }

  double Sum() {
    double x = Product();
    while (FToken == tkPlus || FToken == tkMinus) {
      const bool plus = FToken == tkPlus;
      Next();
      const double y = Product();
      x = Checked(plus ? x + y : x - y);
    }
    return x;
  }

  double Product() {
    double x = Unary();
    for (;;) {
      const TToken op = FToken;
      if (op != tkMultiply && op != tkDivide && op != tkMod && op != tkPercent) return x;
      Next();
      const double y = Unary();
      switch (op) {
        case tkMultiply: x = Checked(x * y); break;
        case tkDivide: x = Divide(x, y); break;
        case tkPercent: x = Checked(static_cast<long double>(x) * y / 100); break;
        default: {
          const std::int64_t a = ToInt64(x);
          const std::int64_t b = ToInt64(y);
          if (b == 0) throw EDivByZero();
          x = b == -1 ? 0 : FromInt64(a % b);  // INT64_MIN % -1 traps in hardware
          break;
        }
      }
    }
  }

  double Unary() {
    const TToken op = FToken;
    if (op != tkComplement && op != tkTruth && op != tkPlus && op != tkMinus) return PowerLevel();
    TDepthGuard guard(*this);
    Next();
    const double x = Unary();
    switch (op) {
      case tkComplement: return FromInt64(~ToInt64(x));
      case tkTruth: return x == 0 ? 1 : 0;
      case tkMinus: return -x;
      default: return x;
    }
  }

  double PowerLevel() {
    const double x = Operand();
    if (FToken != tkPower) return x;
    Next();
    return Power(x, Operand());
  }

  double Operand() {
    switch (FToken) {
      case tkNumber: {
        const double value = FNumber;
        Next();
        return value;
      }
      case tkOpen: {
        Next();
        const double value = BitLevel();
        if (FToken != tkClose) SyntaxError();
        Next();
        return value;
      }
      case tkIdent: {
        const std::string name = FIdent;
        Next();
        double value = 0;
        if (FToken == tkOpen) {
          Next();
          value = BitLevel();
          if (FToken != tkClose) SyntaxError();
          Next();
          Resolve(ikCall, name, value);
        } else if (FToken == tkAssign) {
          Next();
          value = BitLevel();
          Resolve(ikAssign, name, value);
        } else {
          Resolve(ikRead, name, value);
        }
        return value;
      }
      default: OperandExpected();
    }
  }

  void Resolve(std::uint8_t kind, const std::string& name, double& value) {
    const bool known = FCallback ? FCallback(kind, name, value) : DefaultIdentifier(kind, name, value);
    if (!known) Unknown(name);
    // A resolver of a caller's own may hand back what no operator could produce.
    if (std::isnan(value)) throw EInvalidOp();
    if (std::isinf(value)) throw EOverflow();
  }

  std::string_view FText;
  const TIdentifierProc& FCallback;
  const TInterfaceTexts& FTexts;
  std::size_t FPos = 0;
  TToken FToken = tkEnd;
  double FNumber = 0;
  std::string FIdent;
  int FDepth = 0;
};

}  // namespace

bool DefaultIdentifier(std::uint8_t kind, const std::string& name, double& value) {
  if (kind == ikRead) {
    for (const TConstant& c : kConstants)
      if (name == c.Name) {
        value = c.Value;
        return true;
      }
  } else if (kind == ikCall) {
    for (std::size_t i = 0; i < std::size(kFunctions); ++i)
      if (name == kFunctions[i]) {
        value = CallFunction(i, value);
        return true;
      }
  }
  return false;
}

bool Evaluate(std::string_view text, double& result, const TIdentifierProc& callback, const TInterfaceTexts& texts) {
  result = TEvaluator(text, callback, texts).Run();
  return true;
}

const std::vector<std::string>& ReservedCalcNames() {
  static const std::vector<std::string> names = {
      "sin", "asin", "sinh", "asinh", "cos", "acos", "cosh", "acosh", "tan", "atan", "tanh", "atanh",
      "cotan", "ln", "exp", "log", "rnd", "deg", "rad", "ctof", "ftoc", "list", "clear", "cls",
      "pi", "e", "c", "h", "g", "au", "ly", "pc", "a", "b", "ec", "em"};
  return names;
}

bool IsReservedCalcName(std::string_view name) {
  const auto& names = ReservedCalcNames();
  return std::any_of(names.begin(), names.end(), [name](const std::string& reserved) {
    return reserved.size() == name.size() &&
           std::equal(reserved.begin(), reserved.end(), name.begin(), [](char a, char b) { return a == Lower(b); });
  });
}

void SeedCalcRandom(std::uint64_t seed) { Random().seed(seed); }

TCalculator::TCalculator(const TInterfaceTexts& texts) : FTexts(texts) {
  SeedCalcRandom(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

double TCalculator::Result() {
  double result = 0;
  Evaluate(
      FExpression, result,
      [this](std::uint8_t kind, const std::string& name, double& value) { return DoIdentifier(kind, name, value); },
      FTexts);
  return result;
}

void TCalculator::SetVar(const std::string& name, double value) {
  if (IsReservedCalcName(name))
    throw ECalculate(FTexts.Get("lc_VarNameConflict", "Variable name conflict") + " \"" + name + "\".");
  for (TCalcVar& v : FVars)
    if (v.Name == name) {
      v.Value = value;
      return;
    }
  FVars.push_back({value, name});
}

double TCalculator::GetVar(const std::string& name) const {
  for (const TCalcVar& v : FVars)
    if (v.Name == name) return v.Value;
  throw ECalculate(FTexts.Get("lc_UnknownIdentifier", "Unknown function or variable") + " \"" + name + "\".");
}

std::optional<TCalcVar> TCalculator::VarRec(std::size_t index) const {
  if (index >= FVars.size()) return std::nullopt;
  return FVars[index];
}

std::string TCalculator::NameOf(std::uint16_t index) const {
  return index < FVars.size() ? FVars[index].Name : std::string();
}

bool TCalculator::DoIdentifier(std::uint8_t kind, const std::string& name, double& value) {
  if (DefaultIdentifier(kind, name, value)) return true;
  switch (kind) {
    case ikRead: value = GetVar(name); return true;
    case ikAssign: SetVar(name, value); return true;
    default: return false;
  }
}

}  // namespace zentrix
