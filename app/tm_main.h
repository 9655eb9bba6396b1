#pragma once
// The main code module: start-up of the application, the one screen built from the layout
// "tivomarshApple", the five plus/minus selectors' ranges and start values, and the switch
// between the screen's two states (connected, not connected).
#include <cstdint>
#include <memory>

#include "platform/app/ApplicationWrapper.h"
#include "platform/app/NavigationControllerWrapper.h"
#include "platform/app/Page.h"
#include "platform/core/Bit.h"
#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Module.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"

namespace tmr {

class tm_collections;
class tm_dateutils;
class tm_plusminus;
class tm_viewsutils;

class tm_main : public StaticModule, public LayoutFields {
 public:
  std::string_view className() const override { return "tm_main"; }
  const SubTable& subTable() const override;
  const FieldTable& fieldTable() const override;

  // Sets up the code modules in order: tm_main, tm_collections, tm_viewsutils, tm_dateutils.
  void initializeStaticModules();
  // Gives every field its initial value, in declaration order.
  void _process_globals() override;
  // The handler of "application_start:": builds and shows the screen. Returns "".
  String _application_start(NavigationControllerWrapper nav);
  // Switches the screen between connected and not connected.
  void _setstate(bool connected);

  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_viewsutils> viewsutils;
  std::shared_ptr<tm_dateutils> dateutils;
  // BLE: the field `manager` (BleManager, a new uninitialised manager) goes here when the
  // Bluetooth LE central is wired in.
  ApplicationWrapper app;
  NavigationControllerWrapper navcontrol;
  Page page1;
  UiLayer ui;
  ButtonWrapper btnconnected;
  ButtonWrapper btndisconnected;
  ButtonWrapper btnspray;
  ButtonWrapper btntone;
  ImageViewWrapper ivbark;
  LabelWrapper lblbarks;
  LabelWrapper lblbarktime3;
  LabelWrapper lblsensitivity;
  LabelWrapper lblsprayduration;
  LabelWrapper lbltoneduration;
  std::shared_ptr<tm_plusminus> pmbarks;
  std::shared_ptr<tm_plusminus> pmbarktime;
  std::shared_ptr<tm_plusminus> pmsensitivity;
  std::shared_ptr<tm_plusminus> pmsprayduration;
  std::shared_ptr<tm_plusminus> pmtoneduration;
  ButtonWrapper btnscan;
  ByteConverter bc;
  ByteArray b;
  String vals;
  String s;
  String t;
  uint8_t v = 0;
  ByteArray barkdata{2};
  String currentstatetext = "UNKNOWN";
  int32_t currentstate = 0;
  bool connected = false;
  String connectedname;
  List connectedservices;
  Map founddevices;
  String nus_sid = "6E400001-B5A3-F393-E0A9-E50E24DCCA9E";
  String nus_rxc = "6E400002-B5A3-F393-E0A9-E50E24DCCA9E";
  String nus_txc = "6E400003-B5A3-F393-E0A9-E50E24DCCA9E";
};

}  // namespace tmr
