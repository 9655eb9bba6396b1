#include "app/tm_main.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "views/input/tm_plusminus.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_main::subTable() const {
  static const SubTable table{
      sub<&tm_main::_application_start>("_application_start:"),
      sub<&tm_main::_setstate>("_setstate:"),
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
  auto& rt = runtime();
  collections = rt.codeModule<tm_collections>();
  viewsutils = rt.codeModule<tm_viewsutils>();
  dateutils = rt.codeModule<tm_dateutils>();
  // BLE: manager = a new, uninitialised BleManager.
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
}

String tm_main::_application_start(NavigationControllerWrapper nav) {
  initializeStaticModules();
  navcontrol = nav;
  page1.Initialize(bi, "tivomarshApple");
  page1.RootPanel().LoadLayout("tivomarshApple", bi);
  navcontrol.ShowPage(page1);
  // BLE: manager->Initialize(bi, "manager"); from here on the manager's events reach the
  // handlers whose names begin with _manager_.
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

}  // namespace tmr
