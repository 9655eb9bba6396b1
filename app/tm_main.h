#pragma once
// The main code module: start-up of the application, the one screen built from the layout
// "tivomarshApple", the five plus/minus selectors' ranges and start values, and the switch
// between the screen's two states (connected, not connected). It scans for five seconds for
// devices whose name begins with "Tivomarsh", lets the user pick one, connects and sets the
// connection up, then writes the two-byte commands of the settings, spray and tone to the
// device's UART service and shows the five-byte status the device notifies.
#include <cstdint>
#include <memory>

#include "platform/app/ApplicationWrapper.h"
#include "platform/app/NavigationControllerWrapper.h"
#include "platform/app/Page.h"
#include "platform/ble/BleManager.h"
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
#include "views/input/CodeModules.h"

namespace tmr {

class tm_collections;
class tm_dateutils;
class tm_plusminus;
class tm_viewsutils;

class tm_main : public StaticModule, public LayoutFields, public CodeModules {
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

  // Events of the Bluetooth LE central (event name "manager").
  void _manager_statechanged(int32_t state);
  // Keeps devices whose name begins with "Tivomarsh" (case-sensitive); a name seen again takes
  // the id reported last.
  void _manager_devicefound(String name, String id, Map advertisingdata, double rssi);
  // Starts the connection set-up.
  void _manager_connected(List services);
  void _manager_disconnected();
  // The status handler: the UART transmit characteristic's bytes go to the five selectors, as
  // far as there are bytes (at most five); everything else is ignored.
  void _manager_dataavailable(String serviceid, Map characteristics);

  // Events of the screen.
  void _btnscan_click();
  void _btnconnected_click();
  // The picker takes this event itself while it waits; arriving here, it is ignored.
  void _bsheet_click(String item);
  void _btnspray_click();
  void _btntone_click();
  void _pmsensitivity_valuechanged(Object value);
  void _pmbarks_valuechanged(Object value);
  void _pmbarktime_valuechanged(Object value);
  void _pmsprayduration_valuechanged(Object value);
  void _pmtoneduration_valuechanged(Object value);

  // Scans for five seconds, then offers the devices found.
  void _scan();
  // Offers the devices of the map (name to id) in an action sheet and connects to the one chosen.
  void _afterscan(Map devices);
  // Disconnects and shows the idle screen at once, without waiting for the radio.
  void _disconnect();

  // Writes barkdata to the UART receive characteristic. A command made before notifications
  // are on, or one the manager refuses (the device went away), is logged and dropped.
  void writebarkdata();
  // The idle screen after a scan or a pick that leads nowhere: Scan back, the indicator gone.
  void showidle();

  std::shared_ptr<BleManager> manager;
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
  // True once the set-up has turned notifications on, until the device is disconnected: the
  // manager refuses writes before the UART service is known, so commands wait for this.
  bool ready = false;

 private:
  // barkdata = code, the selector's value as a byte; then written.
  void sendsetting(int32_t code, tm_plusminus& selector);
};

}  // namespace tmr
