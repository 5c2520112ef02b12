"""A stand-in for the system's disk service on a private bus: resolves a
device path to its block object and hands out descriptors of it, or refuses
as polkit does when the user cancels the prompt.

Usage: fake_udisks.py grant|refuse READY_FILE
"""
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

MODE, READY = sys.argv[1], sys.argv[2]
BUS_NAME = "org.freedesktop.UDisks2"
BLOCKS = "/org/freedesktop/UDisks2/block_devices/"


class NotAuthorized(dbus.DBusException):
    _dbus_error_name = "org.freedesktop.UDisks2.Error.NotAuthorizedDismissed"


class Manager(dbus.service.Object):
    blocks = {}

    @dbus.service.method("org.freedesktop.UDisks2.Manager", in_signature="a{sv}a{sv}", out_signature="ao")
    def ResolveDevice(self, devspec, options):
        path = str(devspec["path"])
        name = BLOCKS + os.path.basename(os.path.realpath(path))
        if name not in self.blocks:
            self.blocks[name] = Block(self.connection, name, path)
        return [dbus.ObjectPath(name)]


class Block(dbus.service.Object):
    def __init__(self, connection, object_path, device):
        super().__init__(connection, object_path)
        self.device = device

    @dbus.service.method("org.freedesktop.UDisks2.Block", in_signature="sa{sv}", out_signature="h")
    def OpenDevice(self, mode, options):
        if MODE == "refuse":
            raise NotAuthorized("Not authorized to perform operation")
        flags = os.O_RDWR if mode == "rw" else os.O_RDONLY
        return dbus.types.UnixFd(os.open(self.device, flags | int(options.get("flags", 0))))


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SystemBus()
name = dbus.service.BusName(BUS_NAME, bus)
Manager(bus, "/org/freedesktop/UDisks2/Manager")
with open(READY, "w") as ready:
    ready.write("ready\n")
GLib.MainLoop().run()
