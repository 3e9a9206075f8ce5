#include "core/Clock.h"

#include <chrono>

namespace zentrix {
namespace {

class TSystemClock final : public TClock {
public:
  TDateTime NowUtc() const override {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return UnixToDateTime(std::chrono::duration<double>(now).count());
  }
  TDateTime NowLocal() const override { return UtcToLocal(NowUtc()); }
};

}  // namespace

const TClock& SystemClock() {
  static const TSystemClock clock;
  return clock;
}

}  // namespace zentrix
