#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exceptions.h"
#include "core/InterfaceTexts.h"

namespace zentrix {

// An error of the calculator itself: syntax, unknown names, name conflicts.
class ECalculate : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// Arithmetic faults. The hardware would trap these in the original platform; here the evaluator
// checks every operation and raises them with the platform's standard texts, which no language
// file replaces.
class EMathError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};
class EZeroDivide : public EMathError {  // x/0, ln 0, cotan 0, 0**-1
public:
  EZeroDivide() : EMathError("Floating point division by zero") {}
};
class EInvalidOp : public EMathError {  // 0/0, ln -1, asin 2, integer operand out of 64-bit range
public:
  EInvalidOp() : EMathError("Invalid floating point operation") {}
};
class EOverflow : public EMathError {  // a result beyond the double range
public:
  EOverflow() : EMathError("Floating point overflow") {}
};
class EDivByZero : public EMathError {  // integer MOD by zero
public:
  EDivByZero() : EMathError("Division by zero") {}
};

// How an identifier is used: read a constant or variable, assign to it, or call it.
enum TIdentifierKind : std::uint8_t { ikRead = 0, ikAssign = 1, ikCall = 2 };

// Resolves every identifier. `name` is lower case. Read: put the value into `value`. Assign:
// store `value`. Call: `value` holds the argument, replace it with the result. Returns false
// when the name is unknown or the assignment is refused.
using TIdentifierProc = std::function<bool(std::uint8_t kind, const std::string& name, double& value)>;

// The built-in constants (read) and functions (call); it refuses every assignment.
bool DefaultIdentifier(std::uint8_t kind, const std::string& name, double& value);

// Evaluates one calculator line ("x=2; x*pi") into `result`. Every failure is raised as
// ECalculate or an EMathError; a successful result is always finite. Identifiers go to
// `callback`, or DefaultIdentifier when it is empty. Each call has its own scanner, so
// evaluations may nest (a callback may evaluate) and run on several threads.
bool Evaluate(std::string_view text, double& result, const TIdentifierProc& callback = {},
              const TInterfaceTexts& texts = EnglishTexts());

// The names that can never become variables: functions, window commands and constants.
const std::vector<std::string>& ReservedCalcNames();
bool IsReservedCalcName(std::string_view name);  // case ignored

struct TCalcVar {
  double Value = 0;
  std::string Name;
};

// A calculator with variables that live as long as it does.
class TCalculator {
public:
  explicit TCalculator(const TInterfaceTexts& texts = EnglishTexts());
  virtual ~TCalculator() = default;
  TCalculator(const TCalculator&) = delete;
  TCalculator& operator=(const TCalculator&) = delete;

  const std::string& Expression() const { return FExpression; }
  void SetExpression(std::string expression) { FExpression = std::move(expression); }
  // Evaluates Expression on every call.
  double Result();

  std::size_t VarCount() const { return FVars.size(); }
  // Raises ECalculate for a reserved name; otherwise replaces the value of the entry with that
  // exact name, or appends a new entry.
  void SetVar(const std::string& name, double value);
  // Raises ECalculate with the unknown-identifier message for a name not in the store.
  double GetVar(const std::string& name) const;
  // The entry at index in creation order; nothing when out of range.
  std::optional<TCalcVar> VarRec(std::size_t index) const;
  // The name of the entry at index; empty when out of range.
  std::string NameOf(std::uint16_t index) const;
  void ClearVars() { FVars.clear(); }

protected:
  // Built-ins first; then reads and assignments go to the variable store. Override to add
  // names; an override must not evaluate on this same calculator.
  virtual bool DoIdentifier(std::uint8_t kind, const std::string& name, double& value);

private:
  const TInterfaceTexts& FTexts;
  std::string FExpression;
  std::vector<TCalcVar> FVars;
};

// Seeds the generator `rnd` draws from (one per thread). Every TCalculator seeds it from the
// clock when it is created; tests seed it to repeat a draw.
void SeedCalcRandom(std::uint64_t seed);

}  // namespace zentrix
