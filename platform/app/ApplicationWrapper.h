#pragma once
// The application object as the runtime wraps it. This platform's application has nothing to
// ask of it: no badges, no URLs, no idle timer.
namespace tmr {

class ApplicationWrapper {};

}  // namespace tmr
