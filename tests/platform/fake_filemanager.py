#!/usr/bin/python3
"""A stand-in org.freedesktop.FileManager1 on the session bus.

Appends each ShowItems call to the record file as one line: the URIs joined
by spaces, a tab, the startup id. With --fail every call answers an error.
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.FileManager1"


class FileManager(dbus.service.Object):
    def __init__(self, bus, record, fail):
        super().__init__(bus, "/org/freedesktop/FileManager1")
        self.record = record
        self.fail = fail

    @dbus.service.method(NAME, in_signature="ass", out_signature="")
    def ShowItems(self, uris, startup_id):
        with open(self.record, "a", encoding="utf-8") as f:
            f.write(" ".join(uris) + "\t" + startup_id + "\n")
        if self.fail:
            raise dbus.exceptions.DBusException("no window", name=NAME + ".Error.Failed")


def main():
    record = sys.argv[1]
    fail = "--fail" in sys.argv[2:]
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    keep = dbus.service.BusName(NAME, bus, do_not_queue=True)
    manager = FileManager(bus, record, fail)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del keep, manager


if __name__ == "__main__":
    main()
