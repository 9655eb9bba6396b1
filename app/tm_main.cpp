#include "app/tm_main.h"

#include "app/ResumableSub_main_AfterScan.h"
#include "app/ResumableSub_main_Manager_Connected.h"
#include "app/ResumableSub_main_Scan.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "views/input/tm_plusminus.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_main::subTable() const {
  static const SubTable table{
      sub<&tm_main::_application_start>("_application_start:"),
      sub<&tm_main::_setstate>("_setstate:"),
      sub<&tm_main::_manager_statechanged>("_manager_statechanged:"),
      sub<&tm_main::_manager_devicefound>("_manager_devicefound::::"),
      sub<&tm_main::_manager_connected>("_manager_connected:"),
      sub<&tm_main::_manager_disconnected>("_manager_disconnected"),
      sub<&tm_main::_manager_dataavailable>("_manager_dataavailable::"),
      sub<&tm_main::_btnscan_click>("_btnscan_click"),
      sub<&tm_main::_btnconnected_click>("_btnconnected_click"),
      sub<&tm_main::_bsheet_click>("_bsheet_click:"),
      sub<&tm_main::_btnspray_click>("_btnspray_click"),
      sub<&tm_main::_btntone_click>("_btntone_click"),
      sub<&tm_main::_pmsensitivity_valuechanged>("_pmsensitivity_valuechanged:"),
      sub<&tm_main::_pmbarks_valuechanged>("_pmbarks_valuechanged:"),
      sub<&tm_main::_pmbarktime_valuechanged>("_pmbarktime_valuechanged:"),
      sub<&tm_main::_pmsprayduration_valuechanged>("_pmsprayduration_valuechanged:"),
      sub<&tm_main::_pmtoneduration_valuechanged>("_pmtoneduration_valuechanged:"),
      sub<&tm_main::_scan>("_scan"),
      sub<&tm_main::_afterscan>("_afterscan:"),
      sub<&tm_main::_disconnect>("_disconnect"),
  };
  return table;
}

const FieldTable& tm_main::fieldTable() const {
  static const FieldTable table{
      field<&tm_main::btnconnected>("btnconnected"),
      field<&tm_main::btndisconnected>("btndisconnected"),
      field<&tm_main::btnspray>("btnspray"),
      field<&tm_main::btntone>("btntone"),
      field<&tm_main::ivbark>("ivbark"),
      field<&tm_main::lblbarks>("lblbarks"),
      field<&tm_main::lblbarktime3>("lblbarktime3"),
      field<&tm_main::lblsensitivity>("lblsensitivity"),
      field<&tm_main::lblsprayduration>("lblsprayduration"),
      field<&tm_main::lbltoneduration>("lbltoneduration"),
      field<&tm_main::pmbarks>("pmbarks"),
      field<&tm_main::pmbarktime>("pmbarktime"),
      field<&tm_main::pmsensitivity>("pmsensitivity"),
      field<&tm_main::pmsprayduration>("pmsprayduration"),
      field<&tm_main::pmtoneduration>("pmtoneduration"),
      field<&tm_main::btnscan>("btnscan"),
  };
  return table;
}

void tm_main::initializeStaticModules() {
  auto& rt = runtime();
  rt.codeModule<tm_main>()->initializeModule();
  rt.codeModule<tm_collections>()->initializeModule();
  rt.codeModule<tm_viewsutils>()->initializeModule();
  rt.codeModule<tm_dateutils>()->initializeModule();
}

void tm_main::_process_globals() {
  bindCodeModules(runtime());
  manager = std::make_shared<BleManager>();
  app = ApplicationWrapper();
  navcontrol = NavigationControllerWrapper();
  page1 = Page();
  ui = UiLayer();
  btnconnected = ButtonWrapper();
  btndisconnected = ButtonWrapper();
  btnspray = ButtonWrapper();
  btntone = ButtonWrapper();
  ivbark = ImageViewWrapper();
  lblbarks = LabelWrapper();
  lblbarktime3 = LabelWrapper();
  lblsensitivity = LabelWrapper();
  lblsprayduration = LabelWrapper();
  lbltoneduration = LabelWrapper();
  pmbarks = std::make_shared<tm_plusminus>();
  pmbarktime = std::make_shared<tm_plusminus>();
  pmsensitivity = std::make_shared<tm_plusminus>();
  pmsprayduration = std::make_shared<tm_plusminus>();
  pmtoneduration = std::make_shared<tm_plusminus>();
  btnscan = ButtonWrapper();
  bc = ByteConverter();
  b = ByteArray(0);
  vals = "";
  s = "";
  t = "";
  v = 0;
  barkdata = ByteArray(2);
  currentstatetext = "UNKNOWN";
  currentstate = 0;
  connected = false;
  connectedname = "";
  connectedservices = List();
  founddevices = Map();
  nus_sid = "6E400001-B5A3-F393-E0A9-E50E24DCCA9E";
  nus_rxc = "6E400002-B5A3-F393-E0A9-E50E24DCCA9E";
  nus_txc = "6E400003-B5A3-F393-E0A9-E50E24DCCA9E";
  ready = false;
}

String tm_main::_application_start(NavigationControllerWrapper nav) {
  initializeStaticModules();
  navcontrol = nav;
  page1.Initialize(bi, "tivomarshApple");
  page1.RootPanel().LoadLayout("tivomarshApple", bi);
  navcontrol.ShowPage(page1);
  // From here on the manager's events reach the handlers whose names begin with _manager_.
  manager->Initialize(bi, "manager");
  for (const auto& pm : {pmsensitivity, pmbarks, pmsprayduration, pmtoneduration, pmbarktime}) {
    pm->lblminus.setText("-");
    pm->lblplus.setText("+");
    pm->pnlminus.setEnabled(false);
    pm->pnlplus.setEnabled(false);
  }
  pmsensitivity->_setnumericrange(1, 100, 1);
  pmbarks->_setnumericrange(1, 10, 1);
  pmbarktime->_setnumericrange(1, 60, 1);
  pmsprayduration->_setnumericrange(1, 60, 1);
  pmtoneduration->_setnumericrange(1, 10, 1);
  pmsensitivity->_setselectedvalue(Object(64));
  pmbarks->_setselectedvalue(Object(3));
  pmbarktime->_setselectedvalue(Object(4));
  pmsprayduration->_setselectedvalue(Object(14));
  pmtoneduration->_setselectedvalue(Object(1));
  btnspray.setEnabled(false);
  btntone.setEnabled(false);
  btnscan.setEnabled(true);
  btnscan.setVisible(true);
  btndisconnected.setEnabled(false);
  btndisconnected.setVisible(false);
  return "";
}

void tm_main::_setstate(bool isConnected) {
  btnscan.setEnabled(!isConnected);
  btnscan.setVisible(!isConnected);
  for (const auto& pm : {pmsensitivity, pmbarks, pmbarktime, pmsprayduration, pmtoneduration}) {
    pm->pnlminus.setEnabled(isConnected);
    pm->pnlplus.setEnabled(isConnected);
  }
  btnconnected.setVisible(isConnected);
  btnconnected.setEnabled(isConnected);
  btnspray.setEnabled(isConnected);
  btntone.setEnabled(isConnected);
}

// --- Scanning, picking and connecting ---

void tm_main::_manager_statechanged(int32_t state) {
  currentstate = state;
  switch (state) {
    case BleManager::STATE_POWERED_OFF:
      currentstatetext = "POWERED OFF";
      break;
    case BleManager::STATE_POWERED_ON:
      currentstatetext = "POWERED ON";
      break;
    case BleManager::STATE_UNSUPPORTED:
      currentstatetext = "UNSUPPORTED";
      break;
    default:
      break;
  }
}

void tm_main::_manager_devicefound(String name, String id, Map advertisingdata, double rssi) {
  (void)advertisingdata;
  (void)rssi;
  if (name.StartsWith("Tivomarsh")) founddevices.Put(name, id);
}

void tm_main::_manager_connected(List services) {
  auto rs = std::make_shared<ResumableSub_main_Manager_Connected>(self<tm_main>(), std::move(services));
  rs->start();
}

void tm_main::_manager_disconnected() {
  connected = false;
  ready = false;
  _setstate(false);
}

void tm_main::_btnscan_click() {
  btndisconnected.setVisible(true);
  btnscan.setVisible(false);
  _scan();
}

void tm_main::_btnconnected_click() { _disconnect(); }

void tm_main::_bsheet_click(String item) { (void)item; }

void tm_main::_scan() {
  auto rs = std::make_shared<ResumableSub_main_Scan>(self<tm_main>());
  rs->start();
}

void tm_main::_afterscan(Map devices) {
  auto rs = std::make_shared<ResumableSub_main_AfterScan>(self<tm_main>(), std::move(devices));
  rs->start();
}

void tm_main::_disconnect() {
  manager->Disconnect();
  btndisconnected.setEnabled(false);
  btndisconnected.setVisible(false);
  _manager_disconnected();
}

void tm_main::showidle() {
  btndisconnected.setEnabled(false);
  btndisconnected.setVisible(false);
  _setstate(false);
}

// --- Commands and status ---

void tm_main::sendsetting(int32_t code, tm_plusminus& selector) {
  t = selector._getselectedvalue().AsString();
  barkdata.Set(0, code);
  barkdata.Set(1, Object(ParseNumber(t)).AsLong());
  writebarkdata();
}

void tm_main::_pmsensitivity_valuechanged(Object value) {
  (void)value;
  sendsetting(0, *pmsensitivity);
}

void tm_main::_pmbarks_valuechanged(Object value) {
  (void)value;
  sendsetting(1, *pmbarks);
}

void tm_main::_pmbarktime_valuechanged(Object value) {
  (void)value;
  sendsetting(2, *pmbarktime);
}

void tm_main::_pmsprayduration_valuechanged(Object value) {
  (void)value;
  sendsetting(3, *pmsprayduration);
}

void tm_main::_pmtoneduration_valuechanged(Object value) {
  (void)value;
  sendsetting(4, *pmtoneduration);
}

void tm_main::_btnspray_click() {
  barkdata.Set(0, 5);
  barkdata.Set(1, 0);
  writebarkdata();
}

void tm_main::_btntone_click() {
  barkdata.Set(0, 6);
  barkdata.Set(1, 0);
  writebarkdata();
}

void tm_main::writebarkdata() {
  // A write is issued and forgotten; one that cannot be made is reported and dropped, never
  // allowed to stop the program (the controls are live before the set-up has finished, and the
  // device may be gone between a tap and its write).
  auto command = [this] {
    String hex = ByteConverter::HexFromBytes(barkdata.span());
    return hex.SubString2(0, 2) + " " + hex.SubString(2);
  };
  if (!ready) {
    c->Log(String("Command ") + command() + " dropped: the device is not ready");
    return;
  }
  try {
    manager->WriteData(nus_sid, nus_rxc, barkdata);
  } catch (const RuntimeError& e) {
    c->Log(String("Command ") + command() + " dropped: " + String(e.what()));
  }
}

void tm_main::_manager_dataavailable(String serviceid, Map characteristics) {
  if (serviceid != nus_sid) return;
  for (const auto& key : characteristics.Keys()) {
    if (key.AsString() != nus_txc) continue;
    b = characteristics.Get(key).AsBytes();
    vals = ByteConverter::HexFromBytes(b.span());
    if (vals.empty()) continue;
    // Status byte i goes to the selector of setting i; a short status is applied as far as it
    // goes, and bytes after the fifth are not read.
    const std::shared_ptr<tm_plusminus> selectors[] = {pmsensitivity, pmbarks, pmbarktime, pmsprayduration,
                                                       pmtoneduration};
    for (int i = 0; i < 5 && 2 * i + 2 <= vals.Length(); ++i) {
      s = vals.SubString2(2 * i, 2 * i + 2);
      v = static_cast<uint8_t>(Bit::ParseInt(s, 16));
      selectors[i]->_setselectedvalue(Object(v));
    }
  }
}

}  // namespace tmr
