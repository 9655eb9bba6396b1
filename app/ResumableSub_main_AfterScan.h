#pragma once
// The picker: lists the devices found (names beginning with "Tivomarsh", in the order they were
// first found) in an action sheet over the page, waits for the user's choice and connects to
// the device chosen. It works on its own copy of the devices, so a scan started meanwhile cannot
// take a device away from under it. When nothing was found, or the user cancels, or the device
// chosen has no id, it connects nothing and the screen returns to idle so that Scan can be
// tapped again.
#include <memory>

#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/ResumableSub.h"
#include "platform/core/String.h"
#include "platform/views/ActionSheetWrapper.h"

namespace tmr {

class tm_main;

class ResumableSub_main_AfterScan : public ResumableSub {
 public:
  // Takes a copy of devices (name to id).
  ResumableSub_main_AfterScan(std::shared_ptr<tm_main> parent, const Map& devices);

  Map devices;
  ActionSheetWrapper bbsheet;
  List bbitems;
  int32_t bbindex = 0;
  String name;
  String item;
  String id;

 protected:
  SubBody body() override;

 private:
  tm_main& main() const;
};

}  // namespace tmr
