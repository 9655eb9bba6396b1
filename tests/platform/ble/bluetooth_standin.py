'''A stand-in of the system Bluetooth service for the system radio's tests (a python3-dbusmock
template; run with /usr/bin/python3 -m dbusmock --system --template THIS_FILE -p PARAMETERS).

One adapter, /org/bluez/hci0, and LE devices. A Tivomarsh device offers the Nordic UART Service
and runs the firmware of the simulated devices: five status bytes, the two-byte commands 0-7,
the status notified on the transmit characteristic while notifications are on.

Parameters (JSON):
  adapter   "on" (default), "off" or "none"
  refuseScan  true: StartDiscovery is refused as not authorized; a number: only that many times
  upperCase   true: every UUID the service writes is in upper case
  objects   "malformed": GetManagedObjects answers with a value of another type
  devices   a list of {"address": "AA:..", "name": "Tivomarsh-1" (absent: no name),
            "uart": true (default: the name starts with "Tivomarsh"), "status": [5 bytes],
            "known": false (the service remembers it from before: exported at start),
            "inRange": true (heard when discovery starts),
            "without": "tx" or "rx" (the UART service lacks that characteristic),
            "refuseNotify": false (StartNotify is refused),
            "connectMs": 0 (Connect answers, connected, after that many ms; a Disconnect
            meanwhile cancels it, as the service's does)}

Control, on / with the interface org.bluez.Mock: SetPowered(b), RemoveAdapter(), AddAdapter(b),
Drop(s address), FailNextConnect(s address), DropNextConnect(s address) (the link comes up, the
Connect answers, then the link drops before the services are resolved), StallNextConnect(s
address, s stage) (the next attempt stops there for good: "connect", Connect answers nothing
until AnswerConnect or a Disconnect; "services", the link comes up and Connect answers, but the
services are never resolved), AnswerConnect(s address) (a stalled Connect goes on), Notify(s
address, ay bytes), TakeWrites() → aay, Status(s address) → ay, Connecting(s address) → b (a
Connect is under way).
'''

import dbus
from gi.repository import GLib

from dbusmock import OBJECT_MANAGER_IFACE, mockobject

BUS_NAME = 'org.bluez'
MAIN_OBJ = '/'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

MOCK_IFACE = 'org.bluez.Mock'
ADAPTER_IFACE = 'org.bluez.Adapter1'
DEVICE_IFACE = 'org.bluez.Device1'
SERVICE_IFACE = 'org.bluez.GattService1'
CHAR_IFACE = 'org.bluez.GattCharacteristic1'
ADAPTER = '/org/bluez/hci0'


def full(short):
    return f'0000{short.lower()}-0000-1000-8000-00805f9b34fb'


UART = '6e400001-b5a3-f393-e0a9-e50e24dcca9e'
UART_RX = '6e400002-b5a3-f393-e0a9-e50e24dcca9e'
UART_TX = '6e400003-b5a3-f393-e0a9-e50e24dcca9e'

devices = {}   # address -> model
state = {'powered': True, 'adapter': False, 'writes': [], 'discovering': False, 'refuseScans': 0, 'upperCase': False}


def error(name, text):
    return dbus.exceptions.DBusException(text, name='org.bluez.Error.' + name)


def written(uuid):
    '''A UUID as this service writes it.'''
    return uuid.upper() if state['upperCase'] else uuid


def manager():
    return state['main']


def added(path, iface, props):
    manager().EmitSignal(OBJECT_MANAGER_IFACE, 'InterfacesAdded', 'oa{sa{sv}}',
                         [dbus.ObjectPath(path), {iface: props}])


def removed(path, iface):
    manager().RemoveObject(path)
    manager().EmitSignal(OBJECT_MANAGER_IFACE, 'InterfacesRemoved', 'oas', [dbus.ObjectPath(path), [iface]])


def update(obj, iface, props, invalidated=()):
    '''Sets properties (present or not) and tells the change as the service does.'''
    for name in invalidated:
        obj.props[iface].pop(name, None)
    obj.props[iface].update(props)
    obj.EmitSignal(dbus.PROPERTIES_IFACE, 'PropertiesChanged', 'sa{sv}as',
                   [iface, dbus.Dictionary(props, signature='sv'), dbus.Array(invalidated, signature='s')])


def device_path(address):
    return ADAPTER + '/dev_' + address.replace(':', '_')


def model_of(address):
    if address not in devices:
        raise dbus.exceptions.DBusException('no device ' + address, name=MOCK_IFACE + '.NoSuchDevice')
    return devices[address]


# --- the adapter -----------------------------------------------------------------------------

def add_adapter(powered):
    state['adapter'] = True
    state['powered'] = powered
    props = {
        'Address': dbus.String('00:01:02:03:04:05', variant_level=1),
        'Name': dbus.String('stand-in', variant_level=1),
        'Powered': dbus.Boolean(powered, variant_level=1),
        'Discovering': dbus.Boolean(False, variant_level=1),
    }
    manager().AddObject(ADAPTER, ADAPTER_IFACE, props, [
        ('StartDiscovery', '', '', StartDiscovery),
        ('StopDiscovery', '', '', StopDiscovery),
        ('SetDiscoveryFilter', 'a{sv}', '', ''),
        ('RemoveDevice', 'o', '', ''),
    ])
    added(ADAPTER, ADAPTER_IFACE, props)
    for model in devices.values():
        if model['known']:
            export_device(model, heard=False)


def adapter():
    if not state['adapter']:
        raise dbus.exceptions.DBusException('no adapter', name='org.freedesktop.DBus.Error.UnknownObject')
    return mockobject.objects[ADAPTER]


def StartDiscovery(_adapter):
    if state['refuseScans'] > 0:
        state['refuseScans'] -= 1
        raise error('NotAuthorized', 'Not Authorized')
    if not state['powered']:
        raise error('NotReady', 'Resource Not Ready')
    state['discovering'] = True
    update(adapter(), ADAPTER_IFACE, {'Discovering': dbus.Boolean(True, variant_level=1)})
    for model in devices.values():
        if not model['inRange']:
            continue
        rssi = dbus.Int16(model['rssi'], variant_level=1)
        if model['exported']:
            update(mockobject.objects[model['path']], DEVICE_IFACE, {'RSSI': rssi})
        else:
            export_device(model, heard=True)


def StopDiscovery(_adapter):
    if not state['discovering']:
        raise error('Failed', 'No discovery started')
    state['discovering'] = False
    update(adapter(), ADAPTER_IFACE, {'Discovering': dbus.Boolean(False, variant_level=1)})
    # The service forgets the signal strengths when discovery ends.
    for model in devices.values():
        obj = mockobject.objects.get(model['path'])
        if model['exported'] and 'RSSI' in obj.props[DEVICE_IFACE]:
            update(obj, DEVICE_IFACE, {}, ['RSSI'])


# --- devices ---------------------------------------------------------------------------------

def export_device(model, heard):
    props = {
        'Address': dbus.String(model['address'], variant_level=1),
        'AddressType': dbus.String('random', variant_level=1),
        'Alias': dbus.String(model['name'] or model['address'].replace(':', '-'), variant_level=1),
        'UUIDs': dbus.Array([written(UART)] if model['uart'] else [], signature='s', variant_level=1),
        'Connected': dbus.Boolean(False, variant_level=1),
        'ServicesResolved': dbus.Boolean(False, variant_level=1),
        'Paired': dbus.Boolean(False, variant_level=1),
        'Adapter': dbus.ObjectPath(ADAPTER, variant_level=1),
    }
    if model['name'] is not None:
        props['Name'] = dbus.String(model['name'], variant_level=1)
    if heard:
        props['RSSI'] = dbus.Int16(model['rssi'], variant_level=1)
    manager().AddObject(model['path'], DEVICE_IFACE, props, [
        ('Connect', '', '', ''),
        ('Disconnect', '', '', Disconnect),
    ])
    obj = mockobject.objects[model['path']]
    # Connect answers later: the method replaces the mock's, which answers at once.
    obj.methods[DEVICE_IFACE]['Connect'] = ('', '', '', Connect)
    obj.address = model['address']
    model['exported'] = True
    added(model['path'], DEVICE_IFACE, props)


@dbus.service.method(DEVICE_IFACE, in_signature='', out_signature='', async_callbacks=('reply', 'fail'))
def Connect(device, reply, fail):
    '''Answers once the link is up, before the services are resolved, as the service does.'''
    model = devices[device.address]
    if not state['powered']:
        fail(error('NotReady', 'Resource Not Ready'))
    elif model['failNext']:
        model['failNext'] = False
        fail(error('Failed', 'le-connection-abort-by-local'))
    elif model['connected']:
        fail(error('AlreadyConnected', 'Already Connected'))
    elif model['pending']:
        fail(error('InProgress', 'In Progress'))
    elif model['stallNext'] == 'connect':
        model['stallNext'] = None
        model['pending'] = (None, reply, fail)
    elif model['connectMs']:
        model['pending'] = (GLib.timeout_add(model['connectMs'], link_up, model, reply), reply, fail)
    else:
        link_up(model, reply)


def link_up(model, reply):
    model['pending'] = None
    model['connected'] = True
    model['notifying'] = False
    device = mockobject.objects[model['path']]
    update(device, DEVICE_IFACE, {'Connected': dbus.Boolean(True, variant_level=1)})
    reply()
    if model['dropNext']:
        model['dropNext'] = False
        GLib.idle_add(drop, model)
        return False
    if model['stallNext'] == 'services':
        model['stallNext'] = None
        return False
    export_gatt(model)
    update(device, DEVICE_IFACE, {'ServicesResolved': dbus.Boolean(True, variant_level=1)})
    return False


def Disconnect(device):
    model = devices[device.address]
    if model['pending']:
        # Disconnect also cancels a connection under way.
        timer, _, fail = model['pending']
        model['pending'] = None
        if timer is not None:
            GLib.source_remove(timer)
        fail(error('Failed', 'Operation was cancelled'))
        return
    if not model['connected']:
        raise error('NotConnected', 'Not Connected')
    drop(model)


def drop(model):
    '''Also an idle callback: returns False, so it runs once.'''
    model['connected'] = False
    model['notifying'] = False
    for path, iface in reversed(model['gatt']):
        removed(path, iface)
    model['gatt'] = []
    update(mockobject.objects[model['path']], DEVICE_IFACE, {
        'ServicesResolved': dbus.Boolean(False, variant_level=1),
        'Connected': dbus.Boolean(False, variant_level=1),
    })
    return False


def gatt_table(model):
    '''(service uuid, [(characteristic uuid, flags, value)]) in handle order.'''
    table = [(full('1800'), [(full('2a00'), ['read'], (model['name'] or '').encode()),
                             (full('2a01'), ['read'], b'\x00\x00')])]
    if model['uart']:
        uart = [(UART_RX, ['write', 'write-without-response'], b''), (UART_TX, ['notify'], b'')]
        missing = {'rx': UART_RX, 'tx': UART_TX}.get(model['without'])
        table.append((UART, [c for c in uart if c[0] != missing]))
        table.append((full('180a'), [(full('2a29'), ['read'], b'Tivomarsh'),
                                     (full('2a24'), ['read'], b'TM-1'),
                                     (full('2a26'), ['read'], b'1.0')]))
    return table


def export_gatt(model):
    handle = 1
    for service_uuid, characteristics in gatt_table(model):
        service = f"{model['path']}/service{handle:04x}"
        props = {'UUID': dbus.String(written(service_uuid), variant_level=1),
                 'Primary': dbus.Boolean(True, variant_level=1),
                 'Device': dbus.ObjectPath(model['path'], variant_level=1)}
        manager().AddObject(service, SERVICE_IFACE, props, [])
        model['gatt'].append((service, SERVICE_IFACE))
        added(service, SERVICE_IFACE, props)
        handle += 1
        for uuid, flags, value in characteristics:
            path = f'{service}/char{handle:04x}'
            props = {'UUID': dbus.String(written(uuid), variant_level=1),
                     'Service': dbus.ObjectPath(service, variant_level=1),
                     'Flags': dbus.Array(flags, signature='s', variant_level=1),
                     'Value': dbus.Array(value, signature='y', variant_level=1),
                     'Notifying': dbus.Boolean(False, variant_level=1)}
            manager().AddObject(path, CHAR_IFACE, props, [
                ('ReadValue', 'a{sv}', 'ay', ReadValue),
                ('WriteValue', 'aya{sv}', '', WriteValue),
                ('StartNotify', '', '', StartNotify),
                ('StopNotify', '', '', StopNotify),
            ])
            obj = mockobject.objects[path]
            obj.address = model['address']
            obj.uuid = uuid
            model['gatt'].append((path, CHAR_IFACE))
            if uuid == UART_TX:
                model['tx'] = path
            added(path, CHAR_IFACE, props)
            handle += 2


def ReadValue(char, _options):
    if 'read' not in char.props[CHAR_IFACE]['Flags']:
        raise error('NotPermitted', 'Read not permitted')
    return char.props[CHAR_IFACE]['Value']


def WriteValue(char, value, options):
    model = devices[char.address]
    kind = str(options.get('type', 'request'))
    if char.uuid != UART_RX or kind not in ('command', 'request'):
        raise error('NotPermitted', 'Write not permitted')
    data = bytes(value)
    state['writes'].append(data)
    if len(data) != 2:
        return
    code, v = data
    if code <= 4:
        model['status'][code] = v
        notify(model, bytes(model['status']))
    elif code == 7:
        notify(model, bytes(model['status']))


def StartNotify(char):
    if devices[char.address]['refuseNotify']:
        raise error('NotPermitted', 'Notify not permitted')
    if 'notify' not in char.props[CHAR_IFACE]['Flags']:
        raise error('NotSupported', 'Notify not supported')
    devices[char.address]['notifying'] = True
    update(char, CHAR_IFACE, {'Notifying': dbus.Boolean(True, variant_level=1)})


def StopNotify(char):
    devices[char.address]['notifying'] = False
    update(char, CHAR_IFACE, {'Notifying': dbus.Boolean(False, variant_level=1)})


def notify(model, data):
    if not model['connected'] or not model['notifying']:
        return False
    update(mockobject.objects[model['tx']], 
        CHAR_IFACE, {'Value': dbus.Array(data, signature='y', variant_level=1)})
    return True


# --- control ---------------------------------------------------------------------------------

@dbus.service.method(MOCK_IFACE, in_signature='b', out_signature='')
def SetPowered(_self, powered):
    state['powered'] = bool(powered)
    if not powered:
        state['discovering'] = False
        for model in devices.values():
            if model['connected']:
                drop(model)
    update(adapter(), ADAPTER_IFACE, {'Powered': dbus.Boolean(powered, variant_level=1)})


@dbus.service.method(MOCK_IFACE, in_signature='', out_signature='')
def RemoveAdapter(_self):
    for model in devices.values():
        if model['connected']:
            drop(model)
        if model['exported']:
            removed(model['path'], DEVICE_IFACE)
            model['exported'] = False
    removed(ADAPTER, ADAPTER_IFACE)
    state['adapter'] = False


@dbus.service.method(MOCK_IFACE, in_signature='b', out_signature='')
def AddAdapter(_self, powered):
    add_adapter(bool(powered))


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def Drop(_self, address):
    model = model_of(address)
    if model['connected']:
        drop(model)


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def FailNextConnect(_self, address):
    model_of(address)['failNext'] = True


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def DropNextConnect(_self, address):
    model_of(address)['dropNext'] = True


@dbus.service.method(MOCK_IFACE, in_signature='ss', out_signature='')
def StallNextConnect(_self, address, stage):
    model_of(address)['stallNext'] = str(stage)


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def AnswerConnect(_self, address):
    model = model_of(address)
    if model['pending'] and model['pending'][0] is None:
        link_up(model, model['pending'][1])


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='b')
def Connecting(_self, address):
    return model_of(address)['pending'] is not None


@dbus.service.method(MOCK_IFACE, in_signature='say', out_signature='b')
def Notify(_self, address, data):
    return notify(model_of(address), bytes(data))


@dbus.service.method(MOCK_IFACE, in_signature='', out_signature='aay')
def TakeWrites(_self):
    writes = state['writes']
    state['writes'] = []
    return dbus.Array([dbus.ByteArray(w) for w in writes], signature='ay')


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='ay')
def Status(_self, address):
    return dbus.ByteArray(bytes(model_of(address)['status']))


def load(mock, parameters):
    state['main'] = mock
    for d in parameters.get('devices', []):
        name = d.get('name')
        devices[d['address']] = {
            'address': d['address'],
            'name': name,
            'uart': d.get('uart', bool(name) and name.startswith('Tivomarsh')),
            'status': list(d.get('status', [64, 3, 4, 14, 1])),
            'known': d.get('known', False),
            'inRange': d.get('inRange', True),
            'rssi': d.get('rssi', -60),
            'path': device_path(d['address']),
            'without': d.get('without'),
            'refuseNotify': d.get('refuseNotify', False),
            'connectMs': d.get('connectMs', 0),
            'exported': False, 'connected': False, 'notifying': False, 'failNext': False,
            'dropNext': False, 'stallNext': None, 'pending': None, 'gatt': [], 'tx': None,
        }
    refuse = parameters.get('refuseScan', False)
    state['refuseScans'] = float('inf') if refuse is True else int(refuse)
    state['upperCase'] = parameters.get('upperCase', False)
    if parameters.get('objects') == 'malformed':
        mock.AddMethod(OBJECT_MANAGER_IFACE, 'GetManagedObjects', '', 's', 'ret = "not the objects"')
    adapter_state = parameters.get('adapter', 'on')
    if adapter_state != 'none':
        add_adapter(adapter_state == 'on')
