#include "app/ResumableSub_main_Scan.h"

#include "app/tm_main.h"

namespace tmr {

ResumableSub_main_Scan::ResumableSub_main_Scan(std::shared_ptr<tm_main> parent) : ResumableSub(std::move(parent)) {}

tm_main& ResumableSub_main_Scan::main() const { return static_cast<tm_main&>(*parent); }

SubBody ResumableSub_main_Scan::body() {
  auto& m = main();
  m.founddevices.Initialize();
  m.manager->Scan2(Object(), false);
  co_await Sleep(kScanMs);
  m.manager->StopScan();
  m._afterscan(m.founddevices);
}

}  // namespace tmr
