#!/usr/bin/env python3
"""A stand-in for the desktop shell on a test's session bus: a notification server
(org.freedesktop.Notifications, the one method Voveriz calls) and a dock that hears every com.canonical.Unity.LauncherEntry
Update signal. Each Notify call and each Update is written to RECORD as one JSON line, every value
with its D-Bus type: {"what": "Notify", "args": {...}} or {"what": "Update", "path": ..., "app_uri":
..., "properties": {"progress": ["d", 0.5], ...}}. Its method org.voveriz.ShellStandIn.Click(id)
emits ActionInvoked(id, "default"), as a server does when the notification is clicked.

Usage: shell_stand_in.py RECORD [--dock-only]
With --dock-only it hears the dock's signal but runs no notification server. It prints "ready"
once it listens.
"""

import json
import sys

from gi.repository import Gio, GLib

INTERFACES = """<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg name="app_name" type="s" direction="in"/>
      <arg name="replaces_id" type="u" direction="in"/>
      <arg name="app_icon" type="s" direction="in"/>
      <arg name="summary" type="s" direction="in"/>
      <arg name="body" type="s" direction="in"/>
      <arg name="actions" type="as" direction="in"/>
      <arg name="hints" type="a{sv}" direction="in"/>
      <arg name="expire_timeout" type="i" direction="in"/>
      <arg name="id" type="u" direction="out"/>
    </method>
    <signal name="ActionInvoked"><arg type="u"/><arg type="s"/></signal>
  </interface>
  <interface name="org.voveriz.ShellStandIn">
    <method name="Click"><arg name="id" type="u" direction="in"/></method>
  </interface>
</node>"""

PATH = "/org/freedesktop/Notifications"
NAMES = ("org.freedesktop.Notifications", "org.voveriz.ShellStandIn")


def typed(variant):
    """A dictionary of D-Bus values: each as [its type, its value]."""
    result = {}
    for i in range(variant.n_children()):
        entry = variant.get_child_value(i)
        value = entry.get_child_value(1).get_variant()
        result[entry.get_child_value(0).get_string()] = [value.get_type_string(), value.unpack()]
    return result


class Shell:
    def __init__(self, record, dock_only):
        self.record = open(record, "a")
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.last_id = 0
        self.owned = 0
        self.bus.signal_subscribe(None, "com.canonical.Unity.LauncherEntry", "Update", None, None,
                                  Gio.DBusSignalFlags.NONE, self.on_update)
        if dock_only:
            print("ready", flush=True)
            return
        node = Gio.DBusNodeInfo.new_for_xml(INTERFACES)
        for interface in node.interfaces:
            self.bus.register_object(PATH, interface, self.on_call, None, None)
        for name in NAMES:
            Gio.bus_own_name_on_connection(self.bus, name, Gio.BusNameOwnerFlags.NONE, self.on_owned, self.on_lost)

    def write(self, entry):
        self.record.write(json.dumps(entry) + "\n")
        self.record.flush()

    def on_owned(self, connection, name):
        self.owned += 1
        if self.owned == len(NAMES):
            print("ready", flush=True)

    def on_lost(self, connection, name):
        print(f"lost or could not own {name}", file=sys.stderr, flush=True)
        sys.exit(1)

    def on_update(self, connection, sender, path, interface, signal, parameters):
        self.write({"what": "Update", "sender": sender, "path": path, "signature": parameters.get_type_string(),
                    "app_uri": parameters.get_child_value(0).get_string(),
                    "properties": typed(parameters.get_child_value(1))})

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        if method == "Notify":
            self.last_id += 1
            names = ("app_name", "replaces_id", "app_icon", "summary", "body", "actions", "hints", "expire_timeout")
            args = {name: parameters.get_child_value(i).unpack() for i, name in enumerate(names)}
            args["hints"] = typed(parameters.get_child_value(6))
            self.write({"what": "Notify", "sender": sender, "signature": parameters.get_type_string(),
                        "args": args, "id": self.last_id})
            invocation.return_value(GLib.Variant("(u)", (self.last_id,)))
        elif method == "Click":
            notification = parameters.get_child_value(0).get_uint32()
            self.bus.emit_signal(None, PATH, "org.freedesktop.Notifications", "ActionInvoked",
                                 GLib.Variant("(us)", (notification, "default")))
            invocation.return_value(None)


def main():
    if len(sys.argv) not in (2, 3) or (len(sys.argv) == 3 and sys.argv[2] != "--dock-only"):
        print(__doc__, file=sys.stderr)
        return 2
    Shell(sys.argv[1], len(sys.argv) == 3)
    GLib.MainLoop().run()
    return 0


if __name__ == "__main__":
    sys.exit(main())
