#include "app/ResumableSub_main_AfterScan.h"

#include "app/tm_main.h"
#include "platform/core/Common.h"

namespace tmr {

ResumableSub_main_AfterScan::ResumableSub_main_AfterScan(std::shared_ptr<tm_main> parent, const Map& found)
    : ResumableSub(std::move(parent)) {
  devices.Initialize();
  for (const auto& [key, value] : found.entries()) devices.Put(key, value);
}

tm_main& ResumableSub_main_AfterScan::main() const { return static_cast<tm_main&>(*parent); }

SubBody ResumableSub_main_AfterScan::body() {
  auto& m = main();
  bbitems.Initialize();
  for (const auto& key : devices.Keys()) {
    name = key.AsString();
    if (name.StartsWith("Tivomarsh")) bbitems.Add(name);
  }
  if (bbitems.Size() == 0) {
    m.c->Log("No Tivomarsh device found");
    m.showidle();
    co_return;
  }
  bbsheet.Initialize(m.bi, "bsheet", "", "Cancel", "", bbitems);
  bbsheet.Show(m.page1.RootPanel());
  auto args = co_await WaitFor("bsheet_click:");
  item = args.at(0).AsString();
  bbindex = bbitems.IndexOf(item);
  if (bbindex == -1) {
    m.showidle();
    co_return;
  }
  Object chosen = devices.Get(bbitems.Get(bbindex));
  if (chosen.IsNull()) {
    m.c->Log(String("No device to connect to for ") + item);
    m.showidle();
    co_return;
  }
  id = chosen.AsString();
  m.manager->Connect(id);
}

}  // namespace tmr
