#pragma once

#include "core/DateTime.h"

namespace zentrix {

// "Now" is a seam: panels and engines ask a clock, tests pin one.
class TClock {
public:
  virtual ~TClock() = default;
  virtual TDateTime NowUtc() const = 0;
  virtual TDateTime NowLocal() const = 0;
};

// The system's real-time clock.
const TClock& SystemClock();

// A clock that stands still at a local instant until moved; the UTC reading follows the
// process's time zone.
class TFixedClock : public TClock {
public:
  explicit TFixedClock(TDateTime local) : FLocal(local) {}
  void Set(TDateTime local) { FLocal = local; }
  TDateTime NowUtc() const override { return LocalToUtc(FLocal); }
  TDateTime NowLocal() const override { return FLocal; }

private:
  TDateTime FLocal;
};

}  // namespace zentrix
